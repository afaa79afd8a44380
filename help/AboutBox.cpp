#include "AboutBox.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "SysInfo.h"
#include "Version.h"

namespace qm {

namespace {

QFrame* HorizontalLine(QWidget* parent, const char* name) {
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

AboutBox::AboutBox(Services& services, const Registry& registry, QStringList searchFolders, QWidget* parent)
    : QDialog(parent), services_(services), registry_(registry), searchFolders_(std::move(searchFolders)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Quillmarkのﾊﾞｰｼﾞｮﾝ情報"));

    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);
    lblVersion_ = new QLabel(this);
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdSysInfo_ = new QPushButton(QStringLiteral("System Info.(&S)..."), this);
    cmdSysInfo_->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(cmdOK_, &QPushButton::clicked, this, &AboutBox::cmdOK_Click);
    connect(cmdSysInfo_, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdSysInfo_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle_);
    layout->addWidget(lblVersion_);
    layout->addWidget(HorizontalLine(this, "Line1"));
    layout->addWidget(HorizontalLine(this, "Line1b"));
    layout->addLayout(buttons);

    // Form_Load: the title and the version.
    lblVersion_->setText(VersionText(kVersionMajor, kVersionMinor, kVersionRevision));
    lblTitle_->setText(QStringLiteral("Quillmark"));
}

void AboutBox::cmdOK_Click() { accept(); }

void AboutBox::cmdSysInfo_Click() { StartSysInfo(services_, registry_, searchFolders_); }

}  // namespace qm
