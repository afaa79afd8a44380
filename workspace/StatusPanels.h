#pragma once

#include <QObject>

#include <array>
#include <functional>

class QLabel;
class QStatusBar;
class QTimer;

namespace qm {

class Services;

// The status bar sbStatusBar: a text panel, the Insert, Caps Lock and Num Lock states (greyed
// while the key is off), the date and the time, refreshed every second.
class StatusPanels : public QObject {
    Q_OBJECT
public:
    // insertOn tells whether the focused text is in overwrite mode (the Insert toggle).
    StatusPanels(QStatusBar& bar, Services& services, std::function<bool()> insertOn);

    QLabel& Panel(int index) { return *panels_[std::size_t(index - 1)]; }  // 1 to 6
    void Refresh();

private:
    Services& services_;
    std::function<bool()> insertOn_;
    std::array<QLabel*, 6> panels_{};
    QTimer* clock_;
};

}  // namespace qm
