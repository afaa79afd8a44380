#include "StandardOutput.h"

#include <fcntl.h>
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

    Status Put(std::string_view bytes) override { return WriteStandardOutput(bytes); }
    Status Restart() override { return CutBack() ? Status::Ok() : OutputFailure(); }

    // Best effort after a failure, which is reported all the same.
    bool CutBack() const {
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

}  // namespace

Status WriteStandardOutput(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return OutputFailure();
        bytes.remove_prefix(std::size_t(put));
    }
    return Status::Ok();
}

Status WriteStandardOutputInParts(const PartProducer& produce) {
    const off_t end = EndOfPlainFile();
    if (end < 0) {
        std::string whole;
        if (Status produced = GatherParts(produce, whole); !produced.ok()) return produced;
        return WriteStandardOutput(whole);
    }
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

}  // namespace qm::cli
