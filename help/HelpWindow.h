#pragma once

#include <QString>
#include <QWidget>

#include <optional>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;

namespace qm {

// The manual's window: a contents list built from the manual's headings, the page with back and
// forward, and a search field that finds the next occurrence of its text.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the manual at path; nothing when it was read, else the platform's description of the
    // error, and the window keeps what it showed.
    std::optional<QString> Open(const QString& path);
    // Finds the next occurrence of text after the cursor, from the top when there is none below.
    bool FindNext(const QString& text);

    QTextBrowser& browser() { return *browser_; }
    QListWidget& contents() { return *contents_; }
    QLineEdit& searchField() { return *searchField_; }

private:
    void FillContents(const QString& html);

    QTextBrowser* browser_;
    QListWidget* contents_;
    QLineEdit* searchField_;
    QToolButton* back_;
    QToolButton* forward_;
};

}  // namespace qm
