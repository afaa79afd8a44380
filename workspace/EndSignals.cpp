#include "EndSignals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace qm {
namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The handler may only write: the signal's number goes down the pair, the event loop reads it.
int pair_[2] = {-1, -1};

extern "C" void OnEndSignal(int signalNumber) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(pair_[0], &number, 1);
    errno = saved;
}

void Handle(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : kEndSignals) sigaction(signalNumber, &action, nullptr);
}

}  // namespace

EndSignals::EndSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pair_) != 0) return;
    notifier_ = new QSocketNotifier(pair_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndSignals::Deliver);
    Handle(OnEndSignal);
}

EndSignals::~EndSignals() {
    Handle(SIG_DFL);
    for (int& end : pair_) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

void EndSignals::Deliver() {
    unsigned char number = 0;
    while (::read(pair_[1], &number, 1) == 1) emit received(number);
}

}  // namespace qm
