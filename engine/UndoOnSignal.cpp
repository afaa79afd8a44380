#include "UndoOnSignal.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>

namespace qm {
namespace {

// Slots the signal handler reads; a slot is filled before it is marked in use, and only a
// slot in use is read, so the handler never sees half of one.
struct Undo {
    std::atomic<int> state{0};  // 0 free, 1 being filled, 2 in use
    char path[PATH_MAX] = {};   // a file to remove, or empty
    int fd = -1;                // else a file to cut back
    off_t size = 0;
};

constexpr int kSlots = 8;
Undo undos[kSlots];

int Claim() {
    for (int slot = 0; slot < kSlots; ++slot) {
        int expected = 0;
        if (undos[slot].state.compare_exchange_strong(expected, 1)) return slot;
    }
    return -1;
}

void Publish(int slot) {
    if (slot >= 0) undos[slot].state.store(2);
}

extern "C" void UndoAndEnd(int signal) {
    for (Undo& undo : undos) {
        if (undo.state.load() != 2) continue;
        if (undo.path[0] != '\0') {
            ::unlink(undo.path);
        } else if (::ftruncate(undo.fd, undo.size) != 0) {
            // nothing more can be done on the way out
        }
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

UndoOnSignal UndoOnSignal::RemoveFile(const std::string& path) {
    const int slot = !path.empty() && path.size() < PATH_MAX ? Claim() : -1;
    if (slot >= 0) {
        std::memcpy(undos[slot].path, path.c_str(), path.size() + 1);
        undos[slot].fd = -1;
    }
    Publish(slot);
    return UndoOnSignal(slot);
}

UndoOnSignal UndoOnSignal::CutBack(int fd, off_t size) {
    const int slot = Claim();
    if (slot >= 0) {
        undos[slot].path[0] = '\0';
        undos[slot].fd = fd;
        undos[slot].size = size;
    }
    Publish(slot);
    return UndoOnSignal(slot);
}

void UndoOnSignal::Drop() {
    if (slot_ < 0) return;
    undos[slot_].state.store(0);
    slot_ = -1;
}

void UndoUnfinishedWritesOnSignals() {
    struct sigaction action{};
    action.sa_handler = UndoAndEnd;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old{};
        // A signal the caller's shell ignores (nohup, a background job) stays ignored.
        if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace qm
