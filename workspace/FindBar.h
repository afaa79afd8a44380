#pragma once

#include <QToolBar>

#include <functional>
#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;
class QsciScintilla;

namespace qm {

enum class FindResult { Found, FoundAfterWrapping, NotFound };

// Finds text in an editor from its selection onward (forward) or backward, and selects it.
// With wrap, the search goes on from the other end of the text.
FindResult FindInEditor(QsciScintilla& editor, std::string_view text, bool forward, bool matchCase,
                        bool wrap);

// Puts the caret at the start of a line (1 for the first; clamped to the text) and shows it.
void GoToLine(QsciScintilla& editor, long lineNumber);

// The bar under the document windows for Edit > Find and Go to Line: a find field with match
// case and wrap-around, and a line field. It works in the document window that had the focus
// last (target), and hides with Escape.
class FindBar : public QToolBar {
    Q_OBJECT
  public:
    // target: the editor to work in, or nullptr; beforeMove: called with it before the caret
    // moves there.
    FindBar(std::function<QsciScintilla*()> target, std::function<void(QsciScintilla&)> beforeMove,
            QWidget* parent = nullptr);

    // Edit > Find: shows the bar with the find field selected.
    void StartFind();
    // F3 and Shift+F3: the next or previous occurrence; without a text yet, StartFind.
    void FindNext(bool forward);
    // Edit > Go to Line: shows the bar with the line field selected.
    void StartGoToLine();

    QLineEdit& findField() { return *findField_; }
    QLineEdit& lineField() { return *lineField_; }
    QCheckBox& matchCase() { return *matchCase_; }
    QCheckBox& wrapAround() { return *wrapAround_; }
    QString status() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void GoToEnteredLine();
    void Close();

    std::function<QsciScintilla*()> target_;
    std::function<void(QsciScintilla&)> beforeMove_;
    QLineEdit* findField_;
    QCheckBox* matchCase_;
    QCheckBox* wrapAround_;
    QLineEdit* lineField_;
    QLabel* status_;
};

}  // namespace qm
