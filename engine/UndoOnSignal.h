#pragma once

#include <sys/types.h>

#include <string>

namespace qm {

// What to undo should the program be stopped by a signal (Ctrl-C, kill, a closed terminal) while
// a result is being written: a temporary file to remove, or a file to cut back to where it
// ended. Held for as long as the write is unfinished; nothing is undone once it is dropped.
//
//   UndoOnSignal undo = UndoOnSignal::RemoveFile(temporary);
//   ... write the temporary file, rename it ...
//   undo.Drop();  // the result is in place
//
// Takes effect only in a program that called UndoUnfinishedWritesOnSignals(). A few writes can
// be held at once; beyond that, further ones are simply not undone.
class UndoOnSignal {
public:
    static UndoOnSignal RemoveFile(const std::string& path);
    static UndoOnSignal CutBack(int fd, off_t size);
    UndoOnSignal(UndoOnSignal&& other) noexcept : slot_(other.slot_) { other.slot_ = -1; }
    UndoOnSignal& operator=(UndoOnSignal&&) = delete;
    ~UndoOnSignal() { Drop(); }

    void Drop();

private:
    explicit UndoOnSignal(int slot) : slot_(slot) {}
    int slot_;
};

// Makes SIGINT, SIGTERM and SIGHUP undo the unfinished writes, then end the program as the
// signal would have. For command-line programs, which the user stops with Ctrl-C.
void UndoUnfinishedWritesOnSignals();

}  // namespace qm
