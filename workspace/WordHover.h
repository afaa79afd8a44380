#pragma once

#include <QObject>
#include <QString>

#include <string_view>

class QsciScintilla;

namespace qm {

struct AppState;
struct DictionaryTable;

// The tool tip for byte offset of a source line: the dictionary word there and the comment
// that replaces it ("G00: Rapid Traverse"); empty when no word of the dictionary is there.
QString HoverText(const DictionaryTable& table, std::string_view line, std::size_t offset);

// Shows the comment of the dictionary word under the resting mouse pointer in the source window.
class WordHover : public QObject {
    Q_OBJECT
  public:
    explicit WordHover(const AppState& state, QObject* parent = nullptr)
        : QObject(parent), state_(state) {}

    void Attach(QsciScintilla& source);
    // The tool tip for a position of the editor's text.
    QString TextAt(QsciScintilla& source, long position) const;

    static constexpr int kDwellMs = 500;

  private:
    const AppState& state_;
};

}  // namespace qm
