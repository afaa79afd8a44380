#pragma once

#include <QWidget>

#include <functional>

class QsciScintilla;

namespace qm {

// A document window of the main window: one text, Text1, filling the window with an even margin.
// A right click on the text asks for the Edit menu as a context menu.
class DocumentWindow : public QWidget {
    Q_OBJECT
public:
    DocumentWindow(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    QsciScintilla& Text1() { return *text1_; }

signals:
    void contextMenuRequested(const QPoint& globalPosition);
    void resized();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QsciScintilla* text1_;
};

// Form1, the converted window: the converted program; its caption names the dictionary.
class ConvertedWindow : public DocumentWindow {
    Q_OBJECT
public:
    explicit ConvertedWindow(QWidget* parent = nullptr);
};

// OriginalFile, the source window: the program as read, editable.
class SourceWindow : public DocumentWindow {
    Q_OBJECT
public:
    explicit SourceWindow(QWidget* parent = nullptr);

    // Asked when the user closes the window; false keeps it open.
    std::function<bool()> mayClose;

signals:
    // Every change of the text: typing, pasting, undo, and assignments by the program.
    void textChanging();

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace qm
