#include "StandardOutput.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "UndoOnSignal.h"

namespace qm::cli {
namespace {

Status OutputFailure() { return Status::Fail(std::string("standard output: ") + std::strerror(errno)); }

// Standard output as a plain file that the result is appended to, and where it ended before.
class FileEnd : public PartSink {
public:
    explicit FileEnd(off_t end) : end_(end) {}

    Status Put(std::string_view bytes) override {
        const auto held = HoldOffSignals();
        return WriteStandardOutput(bytes);
    }
    Status Restart() override { return CutBack() ? Status::Ok() : OutputFailure(); }

    // Best effort after a failure, which is reported all the same.
    bool CutBack() const {
        const auto held = HoldOffSignals();
        return ::ftruncate(STDOUT_FILENO, end_) == 0 && ::lseek(STDOUT_FILENO, end_, SEEK_SET) == end_;
    }

private:
    const off_t end_;
};

// Where standard output ends when it is a plain file written at its end; -1 otherwise.
off_t EndOfPlainFile() {
    struct stat info{};
    if (::fstat(STDOUT_FILENO, &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    const int flags = ::fcntl(STDOUT_FILENO, F_GETFL);
    const off_t at = ::lseek(STDOUT_FILENO, 0, SEEK_CUR);
    const bool atEnd = (flags >= 0 && (flags & O_APPEND) != 0) || at == info.st_size;
    return atEnd ? info.st_size : -1;
}

// Standard output, a plain file, gets what produce puts at its end; should produce fail or throw,
// or the program be stopped, the file is cut back to that end.
Status WriteAtFileEnd(off_t end, const PartProducer& produce) {
    FileEnd file(end);
    const UndoOnSignal undo = UndoOnSignal::CutBack(STDOUT_FILENO, end);
    Status produced = Status::Ok();
    try {
        produced = produce(file);
    } catch (...) {
        file.CutBack();
        throw;
    }
    if (!produced.ok()) file.CutBack();
    return produced;
}

}  // namespace

Status WriteStandardOutput(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) continue;
        // The reader of a pipe went away (`| head`): nothing more is wanted, and the program ends
        // as SIGPIPE would have ended it, had the write not been made with it blocked.
        if (put < 0 && errno == EPIPE) EndBySignalIfTaken(SIGPIPE);
        if (put < 0) return OutputFailure();
        bytes.remove_prefix(std::size_t(put));
    }
    return Status::Ok();
}

Status WriteWholeToStandardOutput(std::string_view bytes) {
    const off_t end = EndOfPlainFile();
    if (end < 0) return WriteStandardOutput(bytes);
    return WriteAtFileEnd(end, [bytes](PartSink& sink) { return sink.Put(bytes); });
}

Status WriteStandardOutputInParts(const PartProducer& produce) {
    const off_t end = EndOfPlainFile();
    if (end >= 0) return WriteAtFileEnd(end, produce);
    std::string whole;
    if (Status produced = GatherParts(produce, whole); !produced.ok()) return produced;
    return WriteStandardOutput(whole);
}

}  // namespace qm::cli
