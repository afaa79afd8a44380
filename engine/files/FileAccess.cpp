#include "FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "FileDescriptor.h"

namespace qm {
namespace {

// Why a file of this kind is not read, or nothing when it is.
const char* RefusalFor(mode_t mode, Readable kinds) {
    if (S_ISREG(mode))
        return nullptr;
    if (S_ISDIR(mode))
        return "is a folder, not a file";
    if (kinds == Readable::FilesAndPipes && (S_ISFIFO(mode) || S_ISSOCK(mode)))
        return nullptr;
    if (S_ISFIFO(mode))
        return "is a pipe, not a file";
    return "is a device, not a file";
}

// Opens without waiting: a named pipe with no writer would otherwise block the open for good.
// Once the kind is known to be readable, reads block again as usual.
Status OpenForReading(const std::string& path, Readable kinds, int& fd) {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return ErrnoFailure(path);
    struct stat info {};
    const char* refusal =
        ::fstat(fd, &info) != 0 ? "cannot be examined" : RefusalFor(info.st_mode, kinds);
    if (refusal == nullptr && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0)
        return Status::Ok();
    const int error = errno;
    ::close(fd);
    fd = -1;
    return refusal != nullptr ? PathFailure(path, refusal) : ErrnoFailure(path, error);
}

constexpr std::size_t kReadPiece = std::size_t(1) << 16;

// Room for one more piece. The room doubles, but never past the limit and one piece: the
// step that would double beyond it goes straight to it, so that an endless pipe is given up at
// the limit instead of first doubling its buffer past it (a string's own growth always doubles).
void MakeRoom(std::string& bytes, std::size_t limit) {
    if (bytes.capacity() - bytes.size() >= kReadPiece)
        return;
    std::size_t room = std::max(bytes.capacity() * 2, bytes.size() + kReadPiece);
    if (limit != SIZE_MAX && room > (limit + kReadPiece) / 2)
        room = std::max(limit + kReadPiece, bytes.size() + kReadPiece);
    bytes.reserve(room);
}

// Appends what one read delivers; 0 at the end, -1 on an error.
ssize_t ReadSome(int fd, std::string& bytes, std::size_t limit = SIZE_MAX) {
    MakeRoom(bytes, limit);
    char buffer[kReadPiece];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got > 0)
            bytes.append(buffer, std::size_t(got));
        return got;
    }
}

}  // namespace

Status ReadStream(int fd, const std::string& name, std::string& bytes) {
    bytes.clear();
    struct stat info {};
    const bool plainFile = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (plainFile && info.st_size > 0)
        bytes.reserve(std::size_t(info.st_size) + kReadPiece);  // the read that finds the end fits
    for (;;) {
        const ssize_t got = ReadSome(fd, bytes, plainFile ? SIZE_MAX : kMaxStreamBytes);
        if (got < 0)
            return ErrnoFailure(name);
        if (got == 0)
            return Status::Ok();
        if (!plainFile && bytes.size() > kMaxStreamBytes) {
            bytes.clear();
            bytes.shrink_to_fit();
            return PathFailure(name, "more than " + std::to_string(kMaxStreamBytes >> 20) +
                                         " MiB arrived without an end; nothing of it was used");
        }
    }
}

Status ReadWholeFile(const std::string& path, std::string& bytes, Readable kinds) {
    int raw = -1;
    if (Status opened = OpenForReading(path, kinds, raw); !opened.ok())
        return opened;
    FileDescriptor fd(raw);
    return ReadStream(fd.get(), path, bytes);
}

Status ReadFirstLine(const std::string& path, std::size_t maxBytes, std::string& line) {
    int raw = -1;
    if (Status opened = OpenForReading(path, Readable::FilesOnly, raw); !opened.ok())
        return opened;
    FileDescriptor fd(raw);
    line.clear();
    while (line.size() < maxBytes && line.find('\n') == std::string::npos) {
        const ssize_t got = ReadSome(fd.get(), line);
        if (got < 0)
            return ErrnoFailure(path);
        if (got == 0)
            break;
    }
    if (line.empty())
        return PathFailure(path, "the file is empty");
    const std::size_t end = line.find('\n');
    if (end != std::string::npos)
        line.resize(end + 1);
    if (line.size() > maxBytes)
        line.resize(maxBytes);
    return Status::Ok();
}

}  // namespace qm
