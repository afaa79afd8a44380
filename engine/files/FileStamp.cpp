#include "FileStamp.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <thread>

#include "FileAccess.h"
#include "FileDescriptor.h"  // ErrnoFailure

namespace qm {
namespace {

FileStamp StatStamp(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = std::uint64_t(info.st_size);
    stamp.modifiedNs = std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return stamp;
}

// Another copy holds a lock only while it writes a dictionary: a fraction of a second.
constexpr auto kLockWait = std::chrono::seconds(3);
constexpr auto kLockRetry = std::chrono::milliseconds(20);

}  // namespace

FileStamp StampOf(const std::string& path, std::string_view bytes) {
    FileStamp stamp = StatStamp(path);
    if (stamp.exists)
        stamp.contentHash = std::hash<std::string_view>()(bytes);
    return stamp;
}

FileStamp StampFile(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes).ok())
        return {};
    return StampOf(path, bytes);
}

FileLock::~FileLock() {
    if (fd_ >= 0)
        ::close(fd_);  // releases the lock
}

Status FileLock::Lock(const std::string& path) {
    const auto giveUp = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return errno == ENOENT ? Status::Ok() : ErrnoFailure(path);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error != EWOULDBLOCK)
                return ErrnoFailure(path, error);
            if (std::chrono::steady_clock::now() >= giveUp) {
                return PathFailure(path,
                                   "another program is writing this file; try again in a moment");
            }
            std::this_thread::sleep_for(kLockRetry);
            continue;
        }
        // The holder before us may have put a new file in its place: that one is to be locked.
        struct stat held {
        }, now{};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &now) == 0 &&
            held.st_dev == now.st_dev && held.st_ino == now.st_ino) {
            if (fd_ >= 0)
                ::close(fd_);
            fd_ = fd;
            return Status::Ok();
        }
        ::close(fd);
    }
}

}  // namespace qm
