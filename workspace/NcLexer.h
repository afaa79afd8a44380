#pragma once

#include <Qsci/qscilexercustom.h>

#include <string_view>

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
// length opens and scrolls at once.
class NcLexer : public QsciLexerCustom {
    Q_OBJECT
  public:
    NcLexer(const ReadingTheme& theme, const QFont& font, QObject* parent = nullptr);

    const char* language() const override { return "NC"; }
    QString description(int style) const override;
    void styleText(int start, int end) override;
};

}  // namespace qm
