#include "UndoOnSignal.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <system_error>
#include <thread>

namespace qm {
namespace {

// Slots the signal thread reads; a slot is filled before it is marked in use, and only a slot
// in use is read, so the signal thread never sees half of one.
struct Undo {
    std::atomic<int> state{0};  // 0 free, 1 being filled, 2 in use
    char name[PATH_MAX] = {};   // a file to remove, or empty
    int fd = -1;                // its folder, or else the file to cut back
    off_t size = 0;
};

constexpr int kSlots = 8;
Undo undos[kSlots];

std::mutex writes;  // held by a write the signals must not undo halfway
sigset_t taken;     // the signals the signal thread takes
std::atomic<bool> taking{false};

int Claim() {
    for (int slot = 0; slot < kSlots; ++slot) {
        int expected = 0;
        if (undos[slot].state.compare_exchange_strong(expected, 1))
            return slot;
    }
    return -1;
}

void Publish(int slot) {
    if (slot >= 0)
        undos[slot].state.store(2);
}

void UndoAll() {
    for (Undo& undo : undos) {
        if (undo.state.load() != 2)
            continue;
        if (undo.name[0] != '\0') {
            ::unlinkat(undo.fd, undo.name, 0);
        } else if (::ftruncate(undo.fd, undo.size) != 0) {
            // nothing more can be done on the way out
        }
    }
}

// Once the write under way is finished, and with no other able to start, undoes the unfinished
// writes and ends the program by the signal. The lock is never given back.
[[noreturn]] void UndoAndEnd(int signal) {
    writes.lock();
    UndoAll();
    ::signal(signal, SIG_DFL);
    sigset_t just;
    sigemptyset(&just);
    sigaddset(&just, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &just, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);  // should the signal not end the program after all
}

void TakeSignals() {
    for (;;) {
        int signal = 0;
        if (::sigwait(&taken, &signal) == 0)
            UndoAndEnd(signal);
    }
}

}  // namespace

UndoOnSignal UndoOnSignal::RemoveFile(int folderFd, const std::string& name) {
    const int slot = !name.empty() && name.size() < PATH_MAX ? Claim() : -1;
    if (slot >= 0) {
        std::memcpy(undos[slot].name, name.c_str(), name.size() + 1);
        undos[slot].fd = folderFd;
    }
    Publish(slot);
    return UndoOnSignal(slot);
}

UndoOnSignal UndoOnSignal::CutBack(int fd, off_t size) {
    const int slot = Claim();
    if (slot >= 0) {
        undos[slot].name[0] = '\0';
        undos[slot].fd = fd;
        undos[slot].size = size;
    }
    Publish(slot);
    return UndoOnSignal(slot);
}

void UndoOnSignal::Drop() {
    if (slot_ < 0)
        return;
    undos[slot_].state.store(0);
    slot_ = -1;
}

std::unique_lock<std::mutex> HoldOffSignals() {
    return std::unique_lock<std::mutex>(writes);
}

void UndoUnfinishedWritesOnSignals() {
    ::signal(SIGXFSZ, SIG_IGN);
    sigemptyset(&taken);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) {
        struct sigaction old {};
        // A signal the caller's shell ignores (nohup, a background job) stays ignored.
        if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue;
        sigaddset(&taken, signal);
    }
    // Blocked here, the signals stay blocked in every thread started later; only the signal
    // thread takes them, at a moment when no write is under way.
    ::pthread_sigmask(SIG_BLOCK, &taken, nullptr);
    try {
        std::thread(TakeSignals).detach();
        taking = true;
    } catch (const std::system_error&) {
        ::pthread_sigmask(SIG_UNBLOCK, &taken, nullptr);  // no thread: the signals act as before
    }
}

void EndBySignalIfTaken(int signal) {
    if (taking && sigismember(&taken, signal) == 1)
        UndoAndEnd(signal);
}

}  // namespace qm
