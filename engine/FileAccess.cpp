#include "FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace qm {
namespace {

Status Failure(const std::string& path, const std::string& reason) {
    return Status::Fail(path + ": " + reason);
}

Status ErrnoFailure(const std::string& path) { return Failure(path, std::strerror(errno)); }

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now, reporting the result (a late write error shows up here).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

Status OpenForReading(const std::string& path, int& fd) {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ErrnoFailure(path);
    struct stat info{};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return Failure(path, "is a folder, not a file");
    }
    return Status::Ok();
}

// The path the bytes really go to: the target of a symbolic link, or the path itself.
std::string ResolveLink(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat info{};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
        ::realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    return path;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t PermissionsFor(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

}  // namespace

Status ReadWholeFile(const std::string& path, std::string& bytes) {
    int raw = -1;
    if (Status opened = OpenForReading(path, raw); !opened.ok()) return opened;
    FileDescriptor fd(raw);
    bytes.clear();
    struct stat info{};
    if (::fstat(fd.get(), &info) == 0 && info.st_size > 0) bytes.reserve(std::size_t(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return ErrnoFailure(path);
        }
        if (got == 0) break;
        bytes.append(buffer, std::size_t(got));
    }
    return Status::Ok();
}

Status ReadFirstLine(const std::string& path, std::size_t maxBytes, std::string& line) {
    int raw = -1;
    if (Status opened = OpenForReading(path, raw); !opened.ok()) return opened;
    FileDescriptor fd(raw);
    line.clear();
    char buffer[4096];
    while (line.size() < maxBytes && line.find('\n') == std::string::npos) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return ErrnoFailure(path);
        }
        if (got == 0) break;
        line.append(buffer, std::size_t(got));
    }
    if (line.empty()) return Failure(path, "the file is empty");
    const std::size_t end = line.find('\n');
    if (end != std::string::npos) line.resize(end + 1);
    if (line.size() > maxBytes) line.resize(maxBytes);
    return Status::Ok();
}

Status WriteFileSafely(const std::string& path, std::string_view bytes) {
    const std::string target = ResolveLink(path);
    struct stat info{};
    if (::stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return Failure(path, "is a folder, not a file");
    }
    std::string temporary = FolderOf(target) + "/.quillmark-XXXXXX";
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0) return ErrnoFailure(path);
    const mode_t permissions = PermissionsFor(target);
    const bool written = WriteAll(fd.get(), bytes) && ::fchmod(fd.get(), permissions) == 0 &&
                         ::fsync(fd.get()) == 0;
    const int writeError = errno;
    if (!fd.Close() || !written) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.c_str());
        return Failure(path, std::strerror(error));
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Failure(path, std::strerror(error));
    }
    return Status::Ok();
}

}  // namespace qm
