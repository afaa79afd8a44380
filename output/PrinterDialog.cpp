#include "PrinterDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm {
namespace {

QRadioButton* Option(QGroupBox* frame, const char* name, const char* caption) {
    auto* option = new QRadioButton(QString::fromLatin1(caption), frame);
    option->setObjectName(name);
    frame->layout()->addWidget(option);
    return option;
}

QGroupBox* Frame(QWidget* parent, const char* name, const char* caption) {
    auto* frame = new QGroupBox(QString::fromLatin1(caption), parent);
    frame->setObjectName(name);
    new QVBoxLayout(frame);
    return frame;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

PrinterDialog::PrinterDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Printer1");
    setWindowTitle(QStringLiteral("Printer"));
    QGroupBox* frame1 = Frame(this, "Frame1", "Data Select");
    Option1 = Option(frame1, "Option1", "Origin and Convert Data");
    Option2 = Option(frame1, "Option2", "Origin Only");
    Option3 = Option(frame1, "Option3", "Convert Data Only");
    Frame2 = Frame(this, "Frame2", "Print Line No.");
    Option4 = Option(Frame2, "Option4", "1line");
    Option5 = Option(Frame2, "Option5", "2line");
    QPushButton* ok = Button(this, "OKButton", "OK");
    QPushButton* preview = Button(this, "PreviewButton", "Preview");
    QPushButton* cancel = Button(this, "CancelButton", "Cancel");
    ok->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame1);
    layout->addWidget(Frame2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(preview);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    Option1->setChecked(true);
    Option4->setChecked(true);
    EnableColumns(false);
    connect(Option1, &QRadioButton::clicked, this, &PrinterDialog::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &PrinterDialog::Option2_Click);
    connect(Option3, &QRadioButton::clicked, this, &PrinterDialog::Option3_Click);
    connect(ok, &QPushButton::clicked, this, &PrinterDialog::OKButton_Click);
    connect(preview, &QPushButton::clicked, this, &PrinterDialog::PreviewButton_Click);
    connect(cancel, &QPushButton::clicked, this, &PrinterDialog::CancelButton_Click);
}

void PrinterDialog::EnableColumns(bool enabled) {
    Frame2->setEnabled(enabled);
    Option4->setEnabled(enabled);
    Option5->setEnabled(enabled);
}

void PrinterDialog::Option1_Click() { EnableColumns(false); }
void PrinterDialog::Option2_Click() { EnableColumns(true); }
void PrinterDialog::Option3_Click() { EnableColumns(true); }

PrintChoice PrinterDialog::Choice() const {
    PrintChoice choice;
    choice.data = Option1->isChecked()   ? PrintChoice::Data::Both
                  : Option2->isChecked() ? PrintChoice::Data::SourceOnly
                                         : PrintChoice::Data::ConvertedOnly;
    choice.columns = Option4->isChecked() ? 1 : 2;
    return choice;
}

void PrinterDialog::OKButton_Click() {
    hide();
    if (onPrint) onPrint(Choice());
}

void PrinterDialog::CancelButton_Click() { hide(); }

void PrinterDialog::PreviewButton_Click() {
    if (onPreview) onPreview(Choice());
}

}  // namespace qm
