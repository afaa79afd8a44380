// Writing a result that arrives part by part: the file is replaced only by a complete result.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "FileAccess.h"
#include "TempFolder.h"

namespace qm {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// Puts each part in turn; fails (or throws) after `goodParts` of them when asked to.
PartProducer Parts(std::vector<std::string> parts, std::size_t goodParts = SIZE_MAX,
                   bool throws = false) {
    return [parts = std::move(parts), goodParts, throws](PartSink& sink) {
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (i == goodParts && throws)
                throw std::runtime_error("conversion stopped");
            if (i == goodParts)
                return Status::Fail("input: read error");
            if (Status put = sink.Put(parts[i]); !put.ok())
                return put;
        }
        return Status::Ok();
    };
}

std::size_t FilesIn(const TempFolder& folder) {
    return std::size_t(std::distance(std::filesystem::directory_iterator(folder.path()), {}));
}

TEST(FileWriteInParts, ReplacesTheFileOnlyWithTheWholeResult) {
    TempFolder folder;
    const std::string path = folder.File("OUT.txt");
    ASSERT_TRUE(WriteFileSafelyInParts(path, Parts({"N1 G00\r\n", "N2 G01\r\n", ""})).ok());
    EXPECT_EQ(ReadBytes(path), "N1 G00\r\nN2 G01\r\n");

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const Status failed = WriteFileSafelyInParts(path, Parts({"new 1\n", "new 2\n", "new 3\n"}, 2));
    EXPECT_EQ(failed.message(), "input: read error");
    EXPECT_THROW((void)WriteFileSafelyInParts(path, Parts({"new 1\n", "new 2\n"}, 1, true)),
                 std::runtime_error);
    EXPECT_EQ(ReadBytes(path), "N1 G00\r\nN2 G01\r\n");
    EXPECT_EQ(FilesIn(folder), 1u) << "no temporary file is left behind";

    // Starting over forgets what was put before.
    ASSERT_TRUE(WriteFileSafelyInParts(path, [](PartSink& sink) {
                    if (Status put = sink.Put("guessed wrong\n"); !put.ok())
                        return put;
                    if (Status restarted = sink.Restart(); !restarted.ok())
                        return restarted;
                    return sink.Put("read again\n");
                }).ok());
    EXPECT_EQ(ReadBytes(path), "read again\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(FilesIn(folder), 1u);
}

TEST(FileWriteInParts, HardLinkedFilesAndPipesGetNothingFromAFailedResult) {
    TempFolder folder;
    const std::string path = folder.File("OUT.txt"), link = folder.File("LINK.txt");
    WriteBytes(path, "old\n");
    ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
    EXPECT_FALSE(WriteFileSafelyInParts(path, Parts({"new 1\n", "new 2\n"}, 1)).ok());
    EXPECT_EQ(ReadBytes(link), "old\n");
    ASSERT_TRUE(WriteFileSafelyInParts(path, Parts({"new 1\n", "new 2\n"})).ok());
    EXPECT_EQ(ReadBytes(link), "new 1\nnew 2\n") << "rewritten in place, the link sees it";

    const std::string fifo = folder.File("FIFO");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_FALSE(WriteFileSafelyInParts(fifo, Parts({"new 1\n", "new 2\n"}, 1)).ok());
    char got[64];
    EXPECT_LE(::read(reader, got, sizeof got), 0) << "the failed result put nothing into the pipe";
    ASSERT_TRUE(WriteFileSafelyInParts(fifo, Parts({"new 1\n", "new 2\n"})).ok());
    EXPECT_EQ(std::string(got, std::size_t(std::max<ssize_t>(0, ::read(reader, got, sizeof got)))),
              "new 1\nnew 2\n");
    ::close(reader);
}

}  // namespace
}  // namespace qm
