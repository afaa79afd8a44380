// The writing half of FileAccess.h.
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

#include "FileAccess.h"
#include "FileDescriptor.h"
#include "UndoOnSignal.h"

namespace qm {
namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel allows before ELOOP

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The descriptor that /dev/stdout, /dev/fd/N and their like stand for: writing to it keeps what
// the caller's shell set up (appending, a pipe, a terminal), which reopening the name would not.
std::optional<int> StandardStreamOf(const std::string& path) {
    if (path == "/dev/stdout")
        return STDOUT_FILENO;
    if (path == "/dev/stderr")
        return STDERR_FILENO;
    for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (!path.starts_with(prefix) || path.size() == prefix.size())
            continue;
        const std::string number = path.substr(prefix.size());
        if (number.find_first_not_of("0123456789") != std::string::npos || number.size() > 6)
            return std::nullopt;
        return std::atoi(number.c_str());
    }
    return std::nullopt;
}

// Where the bytes for a path go: the path itself, or the end of its chain of symbolic links.
struct Destination {
    std::string target;
    bool exists = false;
    struct stat info {};
};

// Follows a link that points to nothing, hop by hop, to the name that is missing.
Status FollowDanglingLink(const std::string& path, Destination& destination) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return ErrnoFailure(path);
            destination.target = current;
            return Status::Ok();
        }
        if (!S_ISLNK(info.st_mode))
            return PathFailure(path, "changed while it was being written");
        char link[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), link, sizeof link - 1);
        if (length < 0)
            return ErrnoFailure(path);
        const std::string next(link, std::size_t(length));
        current = next.starts_with('/') ? next : FolderOf(current) + "/" + next;
    }
    return ErrnoFailure(path, ELOOP);
}

Status Locate(const std::string& path, Destination& destination) {
    if (::stat(path.c_str(), &destination.info) == 0) {
        destination.exists = true;
        char resolved[PATH_MAX];
        destination.target =
            S_ISREG(destination.info.st_mode) && ::realpath(path.c_str(), resolved) != nullptr
                ? std::string(resolved)
                : path;
        return Status::Ok();
    }
    if (errno != ENOENT)
        return ErrnoFailure(path);  // a loop of links among them
    return FollowDanglingLink(path, destination);
}

// Judged by the permission bits as well as by access(2), which lets the superuser write anything.
Status CheckWritable(const std::string& path, const Destination& destination) {
    if (::faccessat(AT_FDCWD, destination.target.c_str(), W_OK, AT_EACCESS) != 0)
        return ErrnoFailure(path);
    const mode_t mode = destination.info.st_mode;
    const bool ownerMayNot = destination.info.st_uid == ::geteuid() && (mode & S_IWUSR) == 0;
    if ((mode & 0222) == 0 || ownerMayNot)
        return ErrnoFailure(path, EACCES);
    return Status::Ok();
}

// Gathers what a producer puts.
class StringSink : public PartSink {
public:
    explicit StringSink(std::string& bytes) : bytes_(bytes) {}
    Status Put(std::string_view part) override {
        bytes_.append(part);
        return Status::Ok();
    }
    Status Restart() override {
        bytes_.clear();
        return Status::Ok();
    }

private:
    std::string& bytes_;
};

// The bytes to write: all at hand, or produced part by part.
class Source {
public:
    explicit Source(std::string_view whole) : whole_(whole) {}
    explicit Source(const PartProducer& produce) : produce_(&produce) {}

    Status Into(PartSink& sink) const { return produce_ != nullptr ? (*produce_)(sink) : sink.Put(whole_); }

    // All the bytes in memory, for the ways of writing that need them whole first.
    Status Gather(std::string& storage, std::string_view& bytes) const {
        if (produce_ == nullptr) {
            bytes = whole_;
            return Status::Ok();
        }
        Status produced = GatherParts(*produce_, storage);
        bytes = storage;
        return produced;
    }

private:
    std::string_view whole_;
    const PartProducer* produce_ = nullptr;
};

// The folder a temporary file is made in, held open so that the file is found again should the
// folder be moved or renamed while the result is written.
class Folder {
public:
    explicit Folder(const std::string& path)
        : fd_(::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)), error_(fd_.get() >= 0 ? 0 : errno) {}
    int fd() const { return fd_.get(); }
    int error() const { return error_; }

private:
    FileDescriptor fd_;
    const int error_;
};

// Makes a new file of a name not taken yet (.quillmark-XXXXXX) in the folder; -1 with errno set
// when none can be made.
int MakeTemporaryFile(int folderFd, std::string& name) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6];
        if (::getrandom(random, sizeof random, 0) != ssize_t(sizeof random)) return -1;
        name = ".quillmark-";
        for (const unsigned char byte : random) name += kLetters[byte % (sizeof kLetters - 1)];
        const int fd = ::openat(folderFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The temporary file a result is written into before it takes the file's place.
class TemporaryFile : public PartSink {
public:
    TemporaryFile(const std::string& path, const std::string& folder) : path_(path), folder_(folder) {
        if (folder_.fd() < 0) {
            error_ = folder_.error();
            return;
        }
        // Made and registered as one step: a signal in between would leave the file behind.
        const auto held = HoldOffSignals();
        fd_ = std::make_unique<FileDescriptor>(MakeTemporaryFile(folder_.fd(), name_));
        error_ = fd_->get() >= 0 ? 0 : errno;
        if (fd_->get() >= 0) undo_.emplace(UndoOnSignal::RemoveFile(folder_.fd(), name_));
    }
    ~TemporaryFile() override {
        if (undo_ && !kept_) ::unlinkat(folder_.fd(), name_.c_str(), 0);
    }
    int fd() const { return fd_ ? fd_->get() : -1; }
    int error() const { return error_; }  // why it could not be made
    bool Close() { return fd_->Close(); }
    // Puts the written file in the place of target, a file of the same folder.
    bool Rename(const std::string& target) {
        const std::size_t slash = target.rfind('/');
        const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
        return ::renameat(folder_.fd(), name_.c_str(), folder_.fd(), name.c_str()) == 0;
    }
    void Keep() {
        kept_ = true;
        if (undo_) undo_->Drop();
    }

    // Each part is sent on its way to the disk at once (without waiting for it), so that the
    // sync before the rename finds little left to write.
    Status Put(std::string_view part) override {
        {
            const auto held = HoldOffSignals();
            if (!WriteAll(fd(), part)) return ErrnoFailure(path_);
        }
        ::sync_file_range(fd(), off_t(written_), off_t(part.size()), SYNC_FILE_RANGE_WRITE);  // advice only
        written_ += part.size();
        return Status::Ok();
    }
    Status Restart() override {
        const auto held = HoldOffSignals();
        written_ = 0;
        return ::lseek(fd(), 0, SEEK_SET) == 0 && ::ftruncate(fd(), 0) == 0 ? Status::Ok() : ErrnoFailure(path_);
    }

private:
    const std::string& path_;
    Folder folder_;
    std::string name_;
    std::unique_ptr<FileDescriptor> fd_;
    int error_ = 0;
    std::optional<UndoOnSignal> undo_;  // a long write stopped with Ctrl-C leaves no temporary file behind
    bool kept_ = false;
    std::size_t written_ = 0;
};

void SyncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());  // some file systems cannot; the rename stands anyway
}

// A terminal, a device such as /dev/null or /dev/full, a pipe: written straight into.
Status WriteStraight(const std::string& path, int fd, std::string_view bytes) {
    if (!WriteAll(fd, bytes))
        return ErrnoFailure(path);
    return Status::Ok();
}

// A pipe without a reader fails at once (ENXIO) instead of waiting for one.
Status WriteIntoStream(const std::string& path, std::string_view bytes) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENXIO)
            return PathFailure(path, "nothing reads from this pipe, so nothing was written");
        return ErrnoFailure(path);
    }
    if (::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK) != 0)
        return ErrnoFailure(path);
    if (Status written = WriteStraight(path, fd.get(), bytes); !written.ok())
        return written;
    if (!fd.Close())
        return ErrnoFailure(path);
    return Status::Ok();
}

// Best effort: the old bytes are all still in place whatever this gives.
void TruncateQuietly(int fd, std::size_t size) {
    if (::ftruncate(fd, off_t(size)) != 0)
        return;
}

// Rewrites an existing file through its own inode, so that every hard link and the owner stay.
// Its space is reserved first, so a full disk fails before anything changed; should a write fail
// all the same, the old contents are put back.
Status RewriteInPlace(const std::string& path, const Destination& destination,
                      std::string_view bytes) {
    FileDescriptor fd(::open(destination.target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        return ErrnoFailure(path);
    std::string old;
    if (Status read = ReadStream(fd.get(), path, old); !read.ok())
        return read;
    if (bytes.size() > old.size()) {
        const int reserved = ::posix_fallocate(fd.get(), 0, off_t(bytes.size()));
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
            TruncateQuietly(fd.get(), old.size());  // a part reservation may have grown the file
            return ErrnoFailure(path, reserved);
        }
    }
    // A stopping signal waits for the whole of a rewrite: a file cut short would be neither the
    // old text nor the new one, in every link.
    const auto putAt0 = [&](std::string_view what) {
        const auto held = HoldOffSignals();
        return ::lseek(fd.get(), 0, SEEK_SET) == 0 && WriteAll(fd.get(), what) &&
               ::ftruncate(fd.get(), off_t(what.size())) == 0 && ::fsync(fd.get()) == 0;
    };
    if (putAt0(bytes))
        return Status::Ok();
    const int error = errno;
    putAt0(old);
    return ErrnoFailure(path, error);
}

// Gives the new file the old one's owner and group; false when that was not allowed.
bool KeepOwnership(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        ::fchown(fd, uid_t(-1), old.st_gid);
    struct stat now {};
    return ::fstat(fd, &now) == 0 && now.st_uid == old.st_uid && now.st_gid == old.st_gid;
}

mode_t NewFilePermissions() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Temporary file, then rename. Returns nullopt when ownership could not be kept or the folder
// takes no new file, so that the caller rewrites the existing file in place instead; nothing has
// been produced then.
std::optional<Status> ReplaceByRename(const std::string& path, const Destination& destination,
                                      const Source& source) {
    const std::string folder = FolderOf(destination.target);
    TemporaryFile temporary(path, folder);
    if (temporary.fd() < 0 && temporary.error() == EACCES && destination.exists)
        return std::nullopt;
    if (temporary.fd() < 0)
        return ErrnoFailure(path, temporary.error());
    if (destination.exists && !KeepOwnership(temporary.fd(), destination.info))
        return std::nullopt;
    const mode_t permissions =
        destination.exists ? destination.info.st_mode & 07777 : NewFilePermissions();
    if (Status produced = source.Into(temporary); !produced.ok())
        return produced;
    const bool written = ::fchmod(temporary.fd(), permissions) == 0 && ::fsync(temporary.fd()) == 0;
    int error = errno;
    const bool closed = temporary.Close();
    if (written && !closed)
        error = errno;
    if (!written || !closed || !temporary.Rename(destination.target)) {
        if (written && closed)
            error = errno;
        return ErrnoFailure(path, error);
    }
    temporary.Keep();
    SyncFolder(folder);
    return Status::Ok();
}

// The ways of writing that want every byte at hand before the first is written.
Status WriteGathered(const Source& source, const std::function<Status(std::string_view)>& write) {
    std::string storage;
    std::string_view bytes;
    if (Status gathered = source.Gather(storage, bytes); !gathered.ok())
        return gathered;
    return write(bytes);
}

Status WriteSafely(const std::string& path, const Source& source) {
    if (const std::optional<int> stream = StandardStreamOf(path)) {
        return WriteGathered(source, [&](std::string_view bytes) { return WriteStraight(path, *stream, bytes); });
    }
    Destination destination;
    if (Status located = Locate(path, destination); !located.ok())
        return located;
    if (!destination.exists)
        return *ReplaceByRename(path, destination, source);
    const mode_t mode = destination.info.st_mode;
    if (S_ISDIR(mode))
        return PathFailure(path, "is a folder, not a file");
    if (S_ISBLK(mode))
        return PathFailure(path, "is a disk device; it is not written to");
    if (Status writable = CheckWritable(path, destination); !writable.ok())
        return writable;
    if (!S_ISREG(mode))
        return WriteGathered(source, [&](std::string_view bytes) { return WriteIntoStream(path, bytes); });
    if (destination.info.st_nlink <= 1) {
        if (std::optional<Status> replaced = ReplaceByRename(path, destination, source))
            return *replaced;
    }
    return WriteGathered(source,
                         [&](std::string_view bytes) { return RewriteInPlace(path, destination, bytes); });
}

}  // namespace

Status WriteFileSafely(const std::string& path, std::string_view bytes) {
    return WriteSafely(path, Source(bytes));
}

Status GatherParts(const PartProducer& produce, std::string& bytes) {
    bytes.clear();
    StringSink sink(bytes);
    return produce(sink);
}

Status WriteFileSafelyInParts(const std::string& path, const PartProducer& produce) {
    return WriteSafely(path, Source(produce));
}

}  // namespace qm
