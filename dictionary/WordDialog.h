#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qm {

struct Context;

// Base of the dictionary dialogs. Enter never presses a default button: each text box decides
// where Enter takes the focus, and Enter on a focused button presses it. Escape and the close box
// run the dialog's own Close or Cancel, so that its clean-up always happens.
class WordDialog : public QDialog {
    Q_OBJECT
public:
    WordDialog(Context& context, QWidget& mainWindow, const char* name, const QString& caption);

    // Close or Cancel.
    virtual void Command2_Click() = 0;

protected:
    void reject() override { Command2_Click(); }
    void keyPressEvent(QKeyEvent* event) override;
    void HideDialog() { QDialog::reject(); }

    QLabel* NewLabel(const char* name, const QString& text);
    QLabel* NewDisplay(const char* name);  // a sunken panel showing one value
    QLineEdit* NewTextBox(const char* name);
    QPushButton* NewButton(const char* name, const QString& caption);

    Context& context_;
    QWidget& mainWindow_;
};

}  // namespace qm
