#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Status.h"

namespace qm {

// What a file was when it was read, to tell later whether someone changed it since: another
// copy of this program, a text editor, a machine writing back a program. The content counts
// too, since a quick rewrite may keep the size and the modification time.
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::size_t contentHash = 0;

    bool operator==(const FileStamp&) const = default;
};

// The file at path as it is now (links followed); exists is false for a file that is missing or
// cannot be read.
FileStamp StampFile(const std::string& path);

// The stamp of bytes just read whole from path, without reading them again.
FileStamp StampOf(const std::string& path, std::string_view bytes);

// An advisory lock on a file (flock), held until the lock is destroyed. Copies of this program
// take it around "check the file, read it again if it changed, write it", so that one never
// writes between another's check and write. A file replaced meanwhile (written by renaming a new
// file over it) is locked afresh, and a missing file has nothing to lock.
class FileLock {
  public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // Waits a moment for another holder; fails with a message naming path when the lock stays
    // taken or the file cannot be opened.
    Status Lock(const std::string& path);

  private:
    int fd_ = -1;
};

}  // namespace qm
