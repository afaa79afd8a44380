#pragma once

#include <QDialog>

#include <functional>

#include "PrintProgram.h"

class QGroupBox;
class QRadioButton;

namespace qm {

// Printer1, the modal "Printer" dialog: what to print and, for one text, in how many columns.
// It is hidden, not destroyed, so the next Print shows the last choices.
class PrinterDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrinterDialog(QWidget* parent = nullptr);

    PrintChoice Choice() const;

    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void OKButton_Click();
    void CancelButton_Click();
    void PreviewButton_Click();

    // Run by OK (print) and Preview (show the pages first).
    std::function<void(const PrintChoice&)> onPrint;
    std::function<void(const PrintChoice&)> onPreview;

    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
    QRadioButton* Option4;
    QRadioButton* Option5;
    QGroupBox* Frame2;

private:
    void EnableColumns(bool enabled);
};

}  // namespace qm
