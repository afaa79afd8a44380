#include "PrintSettingDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AppState.h"
#include "Context.h"
#include "MarginNumber.h"
#include "PrinterSetUp.h"
#include "Services.h"

namespace qm {
namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(name);
    return button;
}

QLabel* Label(QWidget* parent, const char* name, const char* caption) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

PrintSettingDialog::PrintSettingDialog(Context& context, QPrinter& printer, QWidget* parent)
    : QDialog(parent), context_(context), printer_(printer), text1_(new QLineEdit(this)), text2_(new QLineEdit(this)) {
    setObjectName("PrintSetting");
    setWindowTitle(QStringLiteral("Print Setting"));
    setModal(false);
    text1_->setObjectName("Text1");
    text2_->setObjectName("Text2");

    auto* frame = new QGroupBox(QStringLiteral("Space No."), this);
    frame->setObjectName("Frame1");
    auto* margins = new QGridLayout(frame);
    margins->addWidget(Label(frame, "Label1", "L"), 0, 0);
    margins->addWidget(text1_, 0, 1);
    margins->addWidget(Label(frame, "Label2", "R"), 1, 0);
    margins->addWidget(text2_, 1, 1);

    QPushButton* command1 = Button(this, "Command1", "Printer Property");
    QPushButton* command2 = Button(this, "Command2", "Font of Print");
    QPushButton* command3 = Button(this, "Command3", "O K");
    QPushButton* command4 = Button(this, "Command4", "Cancel");
    auto* layout = new QGridLayout(this);
    layout->addWidget(command1, 0, 0);
    layout->addWidget(command2, 1, 0);
    layout->addWidget(frame, 0, 1, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command3);
    buttons->addWidget(command4);
    layout->addLayout(buttons, 2, 0, 1, 2);

    connect(command1, &QPushButton::clicked, this, &PrintSettingDialog::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &PrintSettingDialog::Command2_Click);
    connect(command3, &QPushButton::clicked, this, &PrintSettingDialog::Command3_Click);
    connect(command4, &QPushButton::clicked, this, &PrintSettingDialog::Command4_Click);
}

void PrintSettingDialog::Open() {
    text1_->setText(QString::number(context_.state.LeftMerge));
    text2_->setText(QString::number(context_.state.RightMerge));
    show();
    raise();
    activateWindow();
}

void PrintSettingDialog::Command1_Click() {
    AppState& state = context_.state;
    if (const std::optional<int> orientation = context_.services.PrinterSetupDialog(printer_, state.PrinterOrientation)) {
        state.PrinterOrientation = std::int16_t(*orientation);
    }
}

void PrintSettingDialog::Command2_Click() {
    AppState& state = context_.state;
    const std::optional<QFont> font = context_.services.FontDialog(PrintFont(state));
    if (!font) return;
    state.PrintFontName = font->family();
    state.PrintFontSize = int(RoundHalfEven(font->pointSizeF()));
}

// Margins that leave no room are refused here, while they can still be corrected.
void PrintSettingDialog::Command3_Click() {
    AppState& state = context_.state;
    const int left = ReadMarginNumber(text1_->text());
    const int right = ReadMarginNumber(text2_->text());
    const double width = PrintableWidth(printer_, state.PrinterOrientation);
    if (!MarginsLeaveRoom(width, left, right)) {
        context_.services.Message(NoRoomMessage(width, left, right), windowTitle());
        return;
    }
    state.LeftMerge = left;
    state.RightMerge = right;
    hide();
}

void PrintSettingDialog::Command4_Click() { hide(); }

}  // namespace qm
