#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "Status.h"

namespace qm {

// What a whole-file read accepts. A folder or a device is never read: a device may never end
// (/dev/zero) or never answer. Pipes are for the command line, where a dictionary or a program
// may come from another program; the window reads files only, so that it never waits on a pipe.
enum class Readable { FilesOnly, FilesAndPipes };

// The most a pipe or standard input may deliver before the read is given up.
inline constexpr std::size_t kMaxStreamBytes = std::size_t(1) << 30;

// Reads the whole file. A failure names the path and the reason. A named pipe without a writer
// reads as empty instead of waiting for one.
Status ReadWholeFile(const std::string& path, std::string& bytes,
                     Readable kinds = Readable::FilesOnly);

// Reads an open descriptor to its end, at most kMaxStreamBytes; name stands for it in messages.
Status ReadStream(int fd, const std::string& name, std::string& bytes);

// Reads the file up to and including its first LF, at most maxBytes. Fails when the file cannot
// be opened, is not a plain file, or is empty.
Status ReadFirstLine(const std::string& path, std::size_t maxBytes, std::string& line);

// Puts bytes at path, never destroying what was there unless the whole of bytes arrived.
//
// A plain file is replaced safely: the bytes go to a temporary file in the same folder, which
// takes the file's place once written and synced, with the file's permissions, owner and group;
// the folder is synced after. A file with several hard links, one whose owner or group the new
// file could not keep, or one in a folder that takes no new file, is rewritten in place instead,
// after its space was reserved.
// Symbolic links are followed, so the file they point to gets the bytes and the links stay; a
// link to nothing creates its target; a loop of links fails.
//
// A file whose permissions forbid writing is refused ("Permission denied"), judged by its
// permission bits too, so that the protection also holds for the superuser.
//
// Anything else that can be written — a terminal, /dev/null, a named pipe that someone reads,
// /dev/stdout — is written straight into, and its errors (a full disk) are reported. A pipe
// that nobody reads is refused rather than waited on; folders and block devices are refused.
//
// A failure names the path and the reason.
Status WriteFileSafely(const std::string& path, std::string_view bytes);

// Where WriteFileSafelyInParts puts the parts of a result.
class PartSink {
public:
    virtual ~PartSink() = default;
    virtual Status Put(std::string_view bytes) = 0;
    // Forgets what was put so far, to start over.
    virtual Status Restart() = 0;
};
using PartProducer = std::function<Status(PartSink&)>;

// WriteFileSafely for a result too large to hold whole, which produce puts into its sink part
// by part. A plain file that is replaced gets the parts straight into the temporary file, which
// takes the file's place only when produce returns Ok; a failure, or an exception thrown by
// produce, leaves the file as it was and the temporary file removed. Where a failure halfway
// must not leave part of the result behind (a file rewritten in place, a device, a pipe), the
// parts are gathered first and written as WriteFileSafely writes them.
Status WriteFileSafelyInParts(const std::string& path, const PartProducer& produce);

// Runs produce with a sink that gathers the parts in bytes: for destinations that take a
// result only once it is complete.
Status GatherParts(const PartProducer& produce, std::string& bytes);

}  // namespace qm
