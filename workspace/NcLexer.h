#pragma once

#include <Qsci/qscilexercustom.h>

#include <string_view>
#include <utility>
#include <vector>

#include "ReadingTheme.h"

namespace qm {

// The styles of NC text.
enum NcStyle : char {
    kNcDefault = 0,
    kNcGCode = 1,     // G01, G43.1
    kNcMCode = 2,     // M03
    kNcAddress = 3,   // X-75., F800, N110, T01 ... a single letter and its number
    kNcComment = 4,   // (...) and ; to the end of the line
    kNcVariable = 5,  // #500, #<_x>
};
inline constexpr int kNcStyleCount = 6;

// Styles bytes [0, text.size()) of NC text, which starts at a line start, into styles. Nothing
// carries from one line to the next, so any run of whole lines can be styled on its own.
void StyleNcText(std::string_view text, char* styles);

// Colours the source window: styles only what the editor is about to show, so a program of any
// length opens and scrolls at once. The editor asks for everything from the last styled place
// up to what it shows; a jump far down (go to line, a click on the path) would style all the
// lines between, so only the part near the end is styled then and the lines passed over are
// styled when they are shown.
class NcLexer : public QsciLexerCustom {
    Q_OBJECT
  public:
    NcLexer(const ReadingTheme& theme, const QFont& font, QObject* parent = nullptr);

    const char* language() const override { return "NC"; }
    QString description(int style) const override;
    void setEditor(QsciScintilla* editor) override;
    void styleText(int start, int end) override;

    // A request longer than this (bytes) styles only its last kStyledTail bytes at once.
    static constexpr int kStyleAtOnce = 256 * 1024;
    static constexpr int kStyledTail = 64 * 1024;

  private:
    void StyleRange(int start, int end);
    void StyleShownGaps();
    void ForgetGapsFrom(int position);
    int LineStart(int position) const;

    // Runs of whole lines the editor counts as styled but which are not: ascending, apart.
    std::vector<std::pair<int, int>> gaps_;
};

}  // namespace qm
