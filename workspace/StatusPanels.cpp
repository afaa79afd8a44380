#include "StatusPanels.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTimer>

#include "Services.h"

namespace qm {
namespace {

constexpr double kPixelsPerTwip = 96.0 / 1440.0;

struct PanelSpec {
    const char* text;
    const char* toolTip;
    int widthTwips;
};

constexpr PanelSpec kPanels[] = {{"", "", 2000},          {"INS", "Insrt Key", 1440}, {"CAPS", "Caps Lock", 1440},
                                 {"NUM", "Num Lock", 1440}, {"", "Date", 1440},       {"", "Time", 1440}};

}  // namespace

StatusPanels::StatusPanels(QStatusBar& bar, Services& services, std::function<bool()> insertOn)
    : QObject(&bar), services_(services), insertOn_(std::move(insertOn)), clock_(new QTimer(this)) {
    bar.setObjectName("sbStatusBar");
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        auto* panel = new QLabel(QString::fromLatin1(kPanels[i].text), &bar);
        panel->setToolTip(QString::fromLatin1(kPanels[i].toolTip));
        panel->setMinimumWidth(int(kPanels[i].widthTwips * kPixelsPerTwip));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setAlignment(Qt::AlignCenter);
        if (i == 0) {
            bar.addWidget(panel, 1);
        } else {
            bar.addPermanentWidget(panel);
        }
        panels_[i] = panel;
    }
    connect(clock_, &QTimer::timeout, this, &StatusPanels::Refresh);
    clock_->start(1000);
    Refresh();
}

void StatusPanels::Refresh() {
    Panel(2).setEnabled(insertOn_ && insertOn_());
    Panel(3).setEnabled(services_.CapsLockOn());
    Panel(4).setEnabled(services_.NumLockOn());
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    Panel(5).setText(locale.toString(now.date(), QLocale::ShortFormat));
    Panel(6).setText(locale.toString(now.time(), QLocale::ShortFormat));
}

}  // namespace qm
