#pragma once

#include <QObject>

class QSocketNotifier;

namespace qm {

// Turns the signals that end a program from outside (SIGTERM from kill or the desktop,
// SIGHUP from a closed terminal, SIGINT from Ctrl-C) into a Qt signal on the user-interface
// thread, so that the program can leave the keyboard and its settings as they should be.
// One instance at a time; the default handlers come back when it is destroyed.
class EndSignals : public QObject {
    Q_OBJECT
public:
    explicit EndSignals(QObject* parent = nullptr);
    ~EndSignals() override;

signals:
    void received(int signalNumber);

private:
    void Deliver();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace qm
