#pragma once

#include <QDialog>

class QLineEdit;
class QPrinter;
class QPushButton;

namespace qm {

struct Context;

// PrintSetting, the modeless "Print Setting" dialog: printer and orientation, print font, and
// the left and right margins in millimetres.
class PrintSettingDialog : public QDialog {
    Q_OBJECT
public:
    PrintSettingDialog(Context& context, QPrinter& printer, QWidget* parent);

    // Fills the margin fields and shows the dialog, or brings it forward.
    void Open();

    void Command1_Click();  // "Printer Property"
    void Command2_Click();  // "Font of Print"
    void Command3_Click();  // "O K"
    void Command4_Click();  // "Cancel"

    QLineEdit& Text1() { return *text1_; }
    QLineEdit& Text2() { return *text2_; }

private:
    Context& context_;
    QPrinter& printer_;
    QLineEdit* text1_;
    QLineEdit* text2_;
};

}  // namespace qm
