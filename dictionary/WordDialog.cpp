#include "WordDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace qm {

WordDialog::WordDialog(Context& context, QWidget& mainWindow, const char* name, const QString& caption)
    : QDialog(&mainWindow), context_(context), mainWindow_(mainWindow) {
    setObjectName(name);
    setWindowTitle(caption);
}

void WordDialog::keyPressEvent(QKeyEvent* event) {
    // Reached by an Enter that a text box passed on: it never presses a default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QLabel* WordDialog::NewLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);  // words and comments such as "<B> axis" are not markup
    return label;
}

QLabel* WordDialog::NewDisplay(const char* name) {
    QLabel* display = NewLabel(name, QString());
    display->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    display->setMinimumWidth(80);
    display->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return display;
}

QLineEdit* WordDialog::NewTextBox(const char* name) {
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->setMaxLength(std::numeric_limits<int>::max());  // no limit of its own
    return box;
}

QPushButton* WordDialog::NewButton(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(true);  // Enter presses the button that has the focus
    return button;
}

}  // namespace qm
