#pragma once

#include <sys/types.h>

#include <mutex>
#include <string>

namespace qm {

// What to undo should the program be stopped by a signal (Ctrl-C, kill, a closed terminal) while
// a result is being written: a temporary file to remove, or a file to cut back to where it
// ended. Held for as long as the write is unfinished; nothing is undone once it is dropped.
//
//   UndoOnSignal undo = UndoOnSignal::RemoveFile(folder, temporary);
//   ... write the temporary file, rename it ...
//   undo.Drop();  // the result is in place
//
// Takes effect only in a program that called UndoUnfinishedWritesOnSignals(). A few writes can
// be held at once; beyond that, further ones are simply not undone.
class UndoOnSignal {
  public:
    // The file name in the folder open as folderFd (AT_FDCWD: name is a path), which stays
    // found should the folder be moved or renamed meanwhile.
    static UndoOnSignal RemoveFile(int folderFd, const std::string& name);
    static UndoOnSignal CutBack(int fd, off_t size);
    UndoOnSignal(UndoOnSignal&& other) noexcept : slot_(other.slot_) { other.slot_ = -1; }
    UndoOnSignal& operator=(UndoOnSignal&&) = delete;
    ~UndoOnSignal() { Drop(); }

    void Drop();

  private:
    explicit UndoOnSignal(int slot) : slot_(slot) {}
    int slot_;
};

// While the lock it returns is held, a stopping signal waits: a write into a file that a signal
// would cut back or remove is never undone halfway, with the rest landing after the cut, and a
// file made under it is registered for removal before any signal can act. Held around each
// write into a plain file, never around a write that may block (a pipe, a terminal).
std::unique_lock<std::mutex> HoldOffSignals();

// Makes SIGINT, SIGTERM, SIGHUP, SIGQUIT and SIGPIPE undo the unfinished writes, then end the
// program as the signal would have; SIGXFSZ is ignored, so that a write past `ulimit -f` fails
// ("File too large") and takes the error path. For command-line programs, which the user stops
// with Ctrl-C. Called first thing, before any thread is started: the signals are taken by one
// thread of their own, and every other thread keeps them blocked.
void UndoUnfinishedWritesOnSignals();

// Undoes the unfinished writes and ends the program by signal, as a stopping signal does: for a
// SIGPIPE that a write into a pipe nobody reads any longer left pending on its own thread.
// Returns, doing nothing, when the program does not take that signal (its caller ignores it, or
// UndoUnfinishedWritesOnSignals was not called).
void EndBySignalIfTaken(int signal);

}  // namespace qm
