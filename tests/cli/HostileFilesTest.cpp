// The converter against files that are not what they seem: outputs that are links, devices or
// pipes, dictionaries through pipes, unreadable inputs and memory running out.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "ConverterFixture.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ProcessResult;
using test::ReadBytes;
using test::WriteBytes;

using test::kHeader;
const std::string kConverted = "Rapid\r\n";  // what A.MIN ("G00") becomes

// Type, inode and bytes of whatever a path names, without following a last link.
struct Snapshot {
    mode_t type = 0;
    ino_t inode = 0;
    std::string bytes;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot Take(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return {};
    Snapshot snapshot{info.st_mode & S_IFMT, info.st_ino, {}};
    if (S_ISREG(info.st_mode))
        snapshot.bytes = ReadBytes(path);
    return snapshot;
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

class ConverterHostileFilesTest : public test::ConverterFixture {
  protected:
    ConverterHostileFilesTest() : ConverterFixture("0,\"G00\",\"RAPID\"\r\n") { WriteBytes(File("A.MIN"), "G00"); }

    // A shell command line; `convert` stands for the converter. Nothing may keep it waiting.
    ProcessResult Shell(const std::string& script) {
        return test::RunProcess(
            {"/bin/sh", "-c",
             "convert() { timeout 30 " + Quoted(QM_CONVERTER) + " \"$@\"; }; " + script});
    }
    std::string ToA() const { return "-d " + Quoted(dictionary_) + " " + Quoted(File("A.MIN")); }
};

// Each destination is either written through (and stays what it was) or refused with exit 3,
// unchanged in type, inode and bytes.
TEST_F(ConverterHostileFilesTest, OutputDestinationsAreWrittenThroughOrRefusedUnchanged) {
    struct Row {
        const char* name;
        std::function<std::string()> make;  // returns the -o path
        bool written;
        std::function<void()> check;  // when written: where the bytes went
    };
    const Row rows[] = {
        {"plain file",
         [&] {
             WriteBytes(File("out.txt"), "old");
             return File("out.txt");
         },
         true, [&] { EXPECT_EQ(ReadBytes(File("out.txt")), kConverted); }},
        {"read-only file",
         [&] {
             WriteBytes(File("ro.txt"), "old");
             ::chmod(File("ro.txt").c_str(), 0444);
             return File("ro.txt");
         },
         false,
         {}},
        {"symbolic link",
         [&] {
             WriteBytes(File("real.txt"), "old");
             fs::create_symlink("real.txt", File("link.txt"));
             return File("link.txt");
         },
         true,
         [&] {
             EXPECT_TRUE(fs::is_symlink(File("link.txt")));
             EXPECT_EQ(ReadBytes(File("real.txt")), kConverted);
         }},
        {"link to nothing",
         [&] {
             fs::create_symlink("later.txt", File("dangling.txt"));
             return File("dangling.txt");
         },
         true,
         [&] {
             EXPECT_TRUE(fs::is_symlink(File("dangling.txt")));
             EXPECT_EQ(ReadBytes(File("later.txt")), kConverted);
         }},
        {"loop of links",
         [&] {
             fs::create_symlink("loop2", File("loop1"));
             fs::create_symlink("loop1", File("loop2"));
             return File("loop1");
         },
         false,
         {}},
        {"hard link",
         [&] {
             WriteBytes(File("first.txt"), "old");
             fs::create_hard_link(File("first.txt"), File("second.txt"));
             return File("second.txt");
         },
         true,
         [&] {
             EXPECT_EQ(ReadBytes(File("first.txt")), kConverted);
             EXPECT_TRUE(fs::equivalent(File("first.txt"), File("second.txt")));
         }},
        {"pipe nobody reads",
         [&] {
             ::mkfifo(File("fifo").c_str(), 0644);
             return File("fifo");
         },
         false,
         {}},
        {"full disk", [] { return std::string("/dev/full"); }, false, {}},
        {"the dictionary", [&] { return dictionary_; }, false, {}},
        {"a folder's file name taken by a folder",
         [&] {
             fs::create_directories(File("taken/A.MIN.txt"));
             return File("taken");
         },
         false,
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string output = row.make();
        std::error_code error;
        const std::string refused = row.written                       ? ""
                                    : fs::is_directory(output, error) ? output + "/A.MIN.txt"
                                                                      : output;
        const Snapshot before = Take(refused);
        const ProcessResult result = Shell("convert " + ToA() + " -o " + Quoted(output));
        if (row.written) {
            EXPECT_EQ(result.exitCode, 0) << result.err;
            row.check();
            continue;
        }
        EXPECT_EQ(result.exitCode, 3) << result.err;
        EXPECT_NE(result.err.find(output), std::string::npos) << result.err;
        EXPECT_EQ(Take(refused), before);
    }
    EXPECT_NE(Shell("convert " + ToA() + " -o /dev/full").err.find("No space left on device"),
              std::string::npos);
    EXPECT_NE(Shell("convert " + ToA() + " -o " + File("ro.txt"))
                  .err.find(File("ro.txt") + ": Permission denied"),
              std::string::npos);
}

TEST_F(ConverterHostileFilesTest, DevicesPipesAndStandardOutputAreWrittenStraightInto) {
    // A pipe that a reader empties, and /dev/stdout into a pipe.
    ::mkfifo(File("fifo").c_str(), 0644);
    ProcessResult result = Shell("cat " + Quoted(File("fifo")) + " > " + Quoted(File("got")) +
                                 " & convert " + ToA() + " -o " + Quoted(File("fifo")) + "; wait");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(File("got")), kConverted);
    EXPECT_EQ(Take(File("fifo")).type, S_IFIFO);

    result = Shell("convert " + ToA() + " -o /dev/stdout | cat");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, kConverted);

    // Appending through /dev/stdout keeps what the file held.
    WriteBytes(File("log"), "before\n");
    result = Shell("convert " + ToA() + " -o /dev/stdout >> " + Quoted(File("log")));
    EXPECT_EQ(ReadBytes(File("log")), "before\n" + kConverted);

    if (::geteuid() != 0)
        GTEST_SKIP() << "a device node can only be made by the superuser";
    ASSERT_EQ(::mknod(File("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    const Snapshot device = Take(File("null"));
    result = Shell("convert " + ToA() + " -o " + Quoted(File("null")));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Take(File("null")), device);
}

TEST_F(ConverterHostileFilesTest, DictionaryThroughAPipeConvertsAsTheFileDoes) {
    std::string records;
    for (int i = 0; i < 400; ++i)
        records += "0,\"W" + std::to_string(i) + "X\",\"word " + std::to_string(i) + "\"\r\n";
    WriteBytes(dictionary_, kHeader + records);
    ASSERT_GT(records.size(), 4096u);
    WriteBytes(File("P.MIN"), "W0X W17X W399X\r\n");
    const ProcessResult fromFile = Run({"-d", dictionary_, File("P.MIN")});
    ASSERT_EQ(fromFile.exitCode, 0) << fromFile.err;
    ASSERT_NE(fromFile.out.find("Word 399"), std::string::npos) << fromFile.out;

    const ProcessResult piped =
        Shell("cat " + Quoted(dictionary_) + " | convert -d /dev/stdin " + Quoted(File("P.MIN")));
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, fromFile.out);
    const ProcessResult substituted = test::RunProcess(
        {"/bin/bash", "-c",
         Quoted(QM_CONVERTER) + " -d <(cat " + Quoted(dictionary_) + ") " + Quoted(File("P.MIN"))});
    EXPECT_EQ(substituted.out, fromFile.out) << substituted.err;
}

TEST_F(ConverterHostileFilesTest, InputsThatAreNoFilesFailWithAMessageAndNeverHang) {
    fs::create_directory(File("folder"));
    ::mkfifo(File("fifo").c_str(), 0644);
    fs::create_symlink("loop2", File("loop1"));
    fs::create_symlink("loop1", File("loop2"));
    WriteBytes(File("unreadable.MIN"), "G00");
    ::chmod(File("unreadable.MIN").c_str(), 0);
    const struct {
        std::string input;
        std::string reason;
    } cases[] = {
        {File("folder"), "is a folder, not a file"},
        {"/dev/zero", "is a device, not a file"},
        {File("loop1"), "Too many levels of symbolic links"},
        {File("gone.MIN"), "No such file or directory"},
        {File("unreadable.MIN"), ::geteuid() == 0 ? "" : "Permission denied"},
        // A named pipe nobody writes reads as empty instead of waiting.
        {File("fifo"), ""},
    };
    for (const auto& c : cases) {
        if (c.reason.empty())
            continue;  // the superuser reads anything
        const ProcessResult result = Shell("convert " + ToA().substr(0, ToA().rfind(' ')) + " -o " +
                                           Quoted(File("out.txt")) + " " + Quoted(c.input));
        EXPECT_EQ(result.exitCode, 3) << c.input;
        EXPECT_NE(result.err.find(c.input + ": " + c.reason), std::string::npos) << result.err;
        EXPECT_FALSE(fs::exists(File("out.txt")));
    }
    EXPECT_EQ(Shell("convert -d " + Quoted(dictionary_) + " " + Quoted(File("fifo"))).exitCode, 0);
    // As a dictionary, each is refused with the same reason.
    for (const auto& c : cases) {
        const std::string reason = c.input == File("fifo") ? "the file is empty" : c.reason;
        if (reason.empty())
            continue;
        const ProcessResult result = Shell("convert -d " + Quoted(c.input) + " " + Quoted(File("A.MIN")));
        EXPECT_EQ(result.exitCode, 2) << c.input;
        EXPECT_NE(result.err.find(c.input + " not find dictionaly. " + c.input + ": " + reason),
                  std::string::npos)
            << result.err;
    }
}

// Lines longer than a part (lines ending in CR alone, or no line end at all) are converted as
// they are read, in the memory of a few parts: no allocation above 13 MB is allowed for 9 MB
// programs. The result is that of the whole text, also where an entry's outcome depends on the
// length of the whole line: "aB" -> "Ba" sorts every B before every a, but the first part alone
// holds more such moves than bytes and would take the entry as never ending.
TEST_F(ConverterHostileFilesTest, LongLinesAreConvertedInPartsWithTheWholeTextsResult) {
    const std::string dictionary = File("bubble.dic");
    WriteBytes(dictionary, kHeader + "0,\"G00\",\"RAPID\"\r\n0,\"aB\",\"ba\"\r\n");
    const auto repeat = [](const std::string& piece, std::size_t bytes) {
        std::string text;
        while (text.size() < bytes)
            text += piece;
        return text;
    };
    const std::string limited = "LD_PRELOAD=" + Quoted(QM_MALLOC_NEW) +
                                " ASAN_OPTIONS=verify_asan_link_order=0:allocator_may_return_null=1:"
                                "max_allocation_size_mb=13 ";
    const std::string blanks(std::size_t(4) << 20, ' ');
    const struct {
        const char* name;
        std::string program, converted;  // converted: empty for what standard input gives
        std::string limit;
    } rows[] = {
        {"line ends CR alone", repeat("N1 G00 X1.\r", std::size_t(9) << 20), "", limited},
        {"one line", repeat("G00 X1. ", std::size_t(9) << 20), "", limited},
        {"sorted whole", repeat("aaaaBBBB ", std::size_t(4) << 20) + blanks,
         repeat("BBBBaaaa ", std::size_t(4) << 20) + blanks + "\r\n", ""},
    };
    for (const auto& row : rows) {
        WriteBytes(File("L.NC"), row.program);
        const std::string expected =
            row.converted.empty() ? Run({"-d", dictionary}, row.program).out : row.converted;
        const ProcessResult parts = Shell(row.limit + Quoted(QM_CONVERTER) + " -d " + Quoted(dictionary) + " -o " +
                                          Quoted(File("L.txt")) + " " + Quoted(File("L.NC")));
        EXPECT_EQ(parts.exitCode, 0) << row.name << ": " << parts.err;
        EXPECT_TRUE(ReadBytes(File("L.txt")) == expected) << row.name;
    }
}

// Without -d, the settings file is read for the file type's dictionary: a named pipe there is
// skipped with a message instead of waiting for a writer.
TEST_F(ConverterHostileFilesTest, ASettingsFileThatIsANamedPipeIsSkipped) {
    fs::create_directories(File("config/Quillmark"));
    ASSERT_EQ(::mkfifo(File("config/Quillmark/Quillmark.ini").c_str(), 0644), 0);
    for (const std::string mode : {"-o /dev/null ", "--missing "}) {
        const ProcessResult result = Shell("convert " + mode + Quoted(File("A.MIN")) + " < /dev/null");
        EXPECT_NE(result.err.find("Quillmark.ini is not a plain file; it was skipped"), std::string::npos)
            << mode << result.err;
        EXPECT_NE(result.exitCode, 124) << "waited for a writer";
    }
}

// An endless pipe is given up at its limit, without first doubling its buffer past it: with
// no allocation above 1.1 GiB allowed, the refusal is still the limit's.
TEST_F(ConverterHostileFilesTest, AnEndlessDictionaryPipeStopsAtItsLimit) {
    const std::string limited = "LD_PRELOAD=" + Quoted(QM_MALLOC_NEW) +
                                " ASAN_OPTIONS=verify_asan_link_order=0:allocator_may_return_null=1:"
                                "max_allocation_size_mb=1100 ";
    const ProcessResult result =
        Shell("yes | " + limited + Quoted(QM_CONVERTER) + " -d /dev/stdin " + Quoted(File("A.MIN")));
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_NE(result.err.find("/dev/stdin not find dictionaly. /dev/stdin: more than 1024 MiB arrived"),
              std::string::npos)
        << result.err;
}

// The new file could not be given the old one's owner (first), or the folder takes no new file
// (second): the file is rewritten through its own inode.
TEST_F(ConverterHostileFilesTest, AnotherUsersFileIsRewrittenInPlaceKeepingItsOwner) {
    if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs the superuser";
    fs::permissions(folder_.path(), fs::perms::all);
    fs::create_directory(File("locked"));
    fs::permissions(File("locked"), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    for (const std::string& shared : {File("shared.txt"), File("locked/shared.txt")}) {
        WriteBytes(shared, "old");
        ::chmod(shared.c_str(), 0666);  // root's, writable by all
        const Snapshot before = Take(shared);
        const ProcessResult result =
            Shell("XDG_CONFIG_HOME=" + Quoted(File("nobody")) +
                  " setpriv --reuid=65534 --regid=65534 --clear-groups " + Quoted(QM_CONVERTER) +
                  " " + ToA() + " -o " + Quoted(shared));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        struct stat info {};
        ASSERT_EQ(::stat(shared.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 0u);
        EXPECT_EQ(info.st_ino, before.inode);
        EXPECT_EQ(ReadBytes(shared), kConverted);
    }
}

TEST_F(ConverterHostileFilesTest, BinaryAndLongLinesConvertWhole) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += char(i * 7 % 256);
    binary += "G00";
    WriteBytes(File("B.MIN"), binary);
    ProcessResult result =
        Run({"-d", dictionary_, "--encoding", "shift_jis", "-o", File("B.txt"), File("B.MIN")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(ReadBytes(File("B.txt")).ends_with("Rapid\r\n"));

    const std::string line(8 << 20, 'X');
    WriteBytes(File("L.MIN"), "G00" + line);
    result = Run({"-d", dictionary_, "-o", File("L.txt"), File("L.MIN")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(File("L.txt")), "Rapid" + line + "\r\n");
}

TEST_F(ConverterHostileFilesTest, DictionaryByteOrderMarkStaysOutOfAnAsciiProgramsResult) {
    WriteBytes(dictionary_, "\xEF\xBB\xBF" + kHeader + "0,\"G00\",\"\xE6\x97\xA9\"\r\n");  // 早
    const ProcessResult result = Run({"-d", dictionary_, File("A.MIN")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "\xE6\x97\xA9\r\n");

    WriteBytes(File("U.MIN"), "\xEF\xBB\xBFG00");  // a program with its own mark keeps it
    EXPECT_EQ(Run({"-d", dictionary_, File("U.MIN")}).out, "\xEF\xBB\xBF\xE6\x97\xA9\r\n");
}

TEST_F(ConverterHostileFilesTest, DictionaryWithLinesEndingInCarriageReturnAloneIsRefused) {
    WriteBytes(File("Mac.dic"),
               "Translator Dictionary  Ver.1.1  Hollowmere\r0,\"G00\",\"RAPID\"\r");
    const ProcessResult result = Run({"-d", File("Mac.dic"), File("A.MIN")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("end in CR alone"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
}

// A dictionary whose every entry doubles the line: A -> "[1] [1]", [1] -> "[2] [2]", ...
void WriteDoublingDictionary(const std::string& path) {
    std::string records;
    for (int i = 0; i < 60; ++i) {
        const std::string next = "[" + std::to_string(i + 1) + "]";
        records += "0,\"[" + std::to_string(i) + "]\",\"" + next + " " + next + "\"\r\n";
    }
    WriteBytes(path, kHeader + records);
}

TEST_F(ConverterHostileFilesTest, AProgramAppendedToItselfIsReadWholeFirst) {
    // Converted as it is read, its own result would keep it reading for ever.
    std::string program;
    while (program.size() < (std::size_t(9) << 19)) program += "N1 G00 X1.\r\n";  // more than a part
    WriteBytes(File("A.MIN"), program);
    const ProcessResult result = Shell("convert " + ToA() + " >> " + Quoted(File("A.MIN")));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string converted = Run({"-d", dictionary_}, program).out;
    EXPECT_TRUE(ReadBytes(File("A.MIN")) == program + converted);
}

TEST_F(ConverterHostileFilesTest, RunningOutOfMemoryExitsThreeWithAMessageAndWritesNothing) {
    WriteDoublingDictionary(dictionary_);
    WriteBytes(File("D.MIN"), "[0]\r\n");
    const std::string command = Quoted(QM_CONVERTER) + " -d " + Quoted(dictionary_) + " -o " +
                                Quoted(File("out.txt")) + " " + Quoted(File("D.MIN"));
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer's heap cannot live under ulimit -v; its allocator refuses instead, and the
    // preloaded operator new turns the refusal into std::bad_alloc.
    const std::string limited =
        "LD_PRELOAD=" + Quoted(QM_MALLOC_NEW) +
        " ASAN_OPTIONS=verify_asan_link_order=0:allocator_may_return_null=1:"
        "max_allocation_size_mb=16 " +
        command;
#else
    const std::string limited = "ulimit -v 600000; " + command;
#endif
    const ProcessResult result = test::RunProcess({"/bin/sh", "-c", limited});
    EXPECT_EQ(result.exitCode, 3) << result.err;
    EXPECT_NE(result.err.find(File("D.MIN") + ": "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("Nothing was written."), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(File("out.txt")));

    // A large program whose first megabytes were already written to standard output, a file:
    // the file is cut back to what it held before.
    std::string filler;
    while (filler.size() < (std::size_t(9) << 19)) filler += "N1 G01 X1. Y2.\r\n";
    WriteBytes(File("D.MIN"), filler + "[0]\r\n");
    WriteBytes(File("out.txt"), "earlier results\n");
    const std::string appending = limited.substr(0, limited.find(" -o ")) + " " + Quoted(File("D.MIN")) + " >> " +
                                  Quoted(File("out.txt"));
    const ProcessResult halfway = test::RunProcess({"/bin/sh", "-c", appending});
    EXPECT_EQ(halfway.exitCode, 3) << halfway.err;
    EXPECT_NE(halfway.err.find("Nothing was written."), std::string::npos) << halfway.err;
    EXPECT_TRUE(ReadBytes(File("out.txt")) == "earlier results\n") << "the file was not cut back";
}

}  // namespace
}  // namespace qm
