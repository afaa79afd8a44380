// The converter against files that are not what they seem: outputs that are links, devices or
// pipes, dictionaries through pipes, unreadable inputs and memory running out.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>

#include "ConverterFixture.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

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
    return {info.st_mode & S_IFMT, info.st_ino, S_ISREG(info.st_mode) ? ReadBytes(path) : ""};
}

class ConverterHostileFilesTest : public ConverterFixture {
  protected:
    ConverterHostileFilesTest() : ConverterFixture("0,\"G00\",\"RAPID\"\r\n") {
        Program("A.MIN", "G00");
    }
};

// Each destination is either written through, its bytes landing where it leads, or refused with
// exit 3 and the reason, unchanged in type, inode and bytes.
TEST_F(ConverterHostileFilesTest, OutputDestinationsAreWrittenThroughOrRefusedUnchanged) {
    Program("out.txt", "old");
    ::chmod(Program("ro.txt", "old").c_str(), 0444);
    Program("real.txt", "old");
    fs::create_symlink("real.txt", File("link.txt"));
    fs::create_symlink("later.txt", File("dangling.txt"));
    fs::create_symlink("loop2", File("loop1"));
    fs::create_symlink("loop1", File("loop2"));
    fs::create_hard_link(Program("first.txt", "old"), File("second.txt"));
    ::mkfifo(File("fifo").c_str(), 0644);
    fs::create_directories(File("taken/A.MIN.txt"));
    const struct {
        std::string output, landsIn;  // landsIn: where the result goes
        std::string refused, reason;  // else: what is left unchanged, and why
    } rows[] = {
        {"out.txt", "out.txt", "", ""},
        {"link.txt", "real.txt", "", ""},
        {"dangling.txt", "later.txt", "", ""},
        {"second.txt", "first.txt", "", ""},
        {"ro.txt", "", "ro.txt", "Permission denied"},
        {"loop1", "", "loop1", "Too many levels of symbolic links"},
        {"fifo", "", "fifo", "nothing reads from this pipe"},
        {"/dev/full", "", "/dev/full", "No space left on device"},
        {"Test.dic", "", "Test.dic", "not written, it would overwrite the dictionary"},
        {"taken", "", "taken/A.MIN.txt", "is a folder, not a file"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.output);
        const std::string refused = row.refused.starts_with("/") ? row.refused : File(row.refused);
        const Snapshot before = Take(refused);
        const ProcessResult result = Shell("convert -d Test.dic A.MIN -o " + row.output);
        if (!row.landsIn.empty()) {
            EXPECT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(ReadBytes(File(row.landsIn)), kConverted);
            continue;
        }
        EXPECT_EQ(result.exitCode, 3) << result.err;
        EXPECT_THAT(result.err, HasSubstr(row.refused + ": " + row.reason));
        EXPECT_EQ(Take(refused), before);
    }
    EXPECT_TRUE(fs::is_symlink(File("link.txt")));
    EXPECT_TRUE(fs::is_symlink(File("dangling.txt")));
    EXPECT_TRUE(fs::equivalent(File("first.txt"), File("second.txt")));
}

TEST_F(ConverterHostileFilesTest, DevicesPipesAndStandardOutputAreWrittenStraightInto) {
    ::mkfifo(File("fifo").c_str(), 0644);
    Program("log", "before\n");
    const struct {
        std::string command, file;  // file: where the result lands (empty: standard output)
        std::string expected;
    } rows[] = {
        {"cat fifo > got & convert -d Test.dic A.MIN -o fifo; wait", "got", kConverted},
        {"convert -d Test.dic A.MIN -o /dev/stdout | cat", "", kConverted},
        {"convert -d Test.dic A.MIN -o /dev/stdout >> log", "log", "before\n" + kConverted},
    };
    for (const auto& row : rows) {
        const ProcessResult result = Shell(row.command);
        EXPECT_EQ(result.exitCode, 0) << row.command << result.err;
        EXPECT_EQ(row.file.empty() ? result.out : ReadBytes(File(row.file)), row.expected);
    }
    EXPECT_EQ(Take(File("fifo")).type, S_IFIFO);

    if (::geteuid() != 0)
        GTEST_SKIP() << "a device node can only be made by the superuser";
    ASSERT_EQ(::mknod(File("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    const Snapshot device = Take(File("null"));
    const ProcessResult result = Shell("convert -d Test.dic A.MIN -o null");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Take(File("null")), device);
}

TEST_F(ConverterHostileFilesTest, DictionaryThroughAPipeConvertsAsTheFileDoes) {
    std::string records;
    for (int i = 0; i < 400; ++i)
        records += "0,\"W" + std::to_string(i) + "X\",\"word " + std::to_string(i) + "\"\r\n";
    WriteBytes(dictionary_, kHeader + records);
    ASSERT_GT(records.size(), 4096u);
    Program("P.MIN", "W0X W17X W399X\r\n");
    const ProcessResult fromFile = Run({"-d", dictionary_, File("P.MIN")});
    ASSERT_EQ(fromFile.exitCode, 0) << fromFile.err;
    ASSERT_NE(fromFile.out.find("Word 399"), std::string::npos) << fromFile.out;
    for (const char* command :
         {"cat Test.dic | convert -d /dev/stdin P.MIN", "convert -d <(cat Test.dic) P.MIN"}) {
        const ProcessResult piped = Shell(command);
        EXPECT_EQ(piped.exitCode, 0) << command << piped.err;
        EXPECT_EQ(piped.out, fromFile.out) << command;
    }
}

TEST_F(ConverterHostileFilesTest, InputsThatAreNoFilesFailWithAMessageAndNeverHang) {
    fs::create_directory(File("folder"));
    ::mkfifo(File("fifo").c_str(), 0644);
    fs::create_symlink("loop2", File("loop1"));
    fs::create_symlink("loop1", File("loop2"));
    ::chmod(Program("unreadable.MIN", "G00").c_str(), 0);
    const struct {
        std::string input;
        std::string reason;  // empty: read
    } cases[] = {
        {File("folder"), "is a folder, not a file"},
        {"/dev/zero", "is a device, not a file"},
        {File("loop1"), "Too many levels of symbolic links"},
        {File("gone.MIN"), "No such file or directory"},
        {File("unreadable.MIN"),
         ::geteuid() == 0 ? "" : "Permission denied"},  // the superuser reads anything
        {File("fifo"), ""},  // a named pipe nobody writes reads as empty instead of waiting
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const ProcessResult result = Shell("convert -d Test.dic -o out.txt " + Quoted(c.input) +
                                           " && cat out.txt && rm out.txt");
        EXPECT_EQ(result.exitCode, c.reason.empty() ? 0 : 3) << result.err;
        if (!c.reason.empty()) {
            EXPECT_THAT(result.err, HasSubstr(c.input + ": " + c.reason));
        }
        EXPECT_FALSE(fs::exists(File("out.txt")));
        // As a dictionary, each is refused with the same reason.
        const std::string reason = c.input == File("fifo") ? "the file is empty" : c.reason;
        if (reason.empty())
            continue;
        const ProcessResult refused = Shell("convert -d " + Quoted(c.input) + " A.MIN");
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_THAT(refused.err,
                    HasSubstr(c.input + " not find dictionaly. " + c.input + ": " + reason));
    }
}

// Lines longer than a part (lines ending in CR alone, or no line end at all) are converted as
// they are read, in the memory of a few parts: no allocation above 13 MB is allowed for 9 MB
// programs. The result is that of the whole text, also where an entry's outcome depends on the
// length of the whole line: "aB" -> "Ba" sorts every B before every a, but the first part alone
// holds more such moves than bytes and would take the entry as never ending.
TEST_F(ConverterHostileFilesTest, LongLinesAreConvertedInPartsWithTheWholeTextsResult) {
    Program("bubble.dic", kHeader + "0,\"G00\",\"RAPID\"\r\n0,\"aB\",\"ba\"\r\n");
    const auto replaced = [](const std::string& text, const std::string& from,
                             const std::string& to) {
        std::string out;
        std::size_t start = 0;
        for (std::size_t at; (at = text.find(from, start)) != std::string::npos;
             start = at + from.size())
            out.append(text, start, at - start).append(to);
        return out.append(text, start);
    };
    const std::size_t nine = std::size_t(9) << 20;
    const struct {
        const char* name;
        std::string program, word, comment, limit;
    } rows[] = {
        {"line ends CR alone", Repeated("N1 G00 X1.\r", nine), "G00", "Rapid",
         AllocationsAbove(13)},
        {"one line", Repeated("G00 X1. ", nine), "G00", "Rapid", AllocationsAbove(13)},
        // 2.6 MB of moves, then blanks enough that the whole line has more bytes than moves.
        {"sorted whole",
         Repeated("aaaaBBBB ", std::size_t(21) << 17) + std::string(std::size_t(22) << 17, ' '),
         "aaaaBBBB", "BBBBaaaa", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Program("L.NC", row.program);
        const ProcessResult parts =
            Shell(row.limit + Quoted(QM_CONVERTER) + " -d bubble.dic -o L.txt L.NC");
        EXPECT_EQ(parts.exitCode, 0) << parts.err;
        EXPECT_TRUE(ReadBytes(File("L.txt")) ==
                    replaced(row.program, row.word, row.comment) + "\r\n");
    }
}

// Without -d, the settings file is read for the file type's dictionary: a named pipe there is
// skipped with a message instead of waiting for a writer.
TEST_F(ConverterHostileFilesTest, ASettingsFileThatIsANamedPipeIsSkipped) {
    fs::create_directories(File("config/Quillmark"));
    ASSERT_EQ(::mkfifo(File("config/Quillmark/Quillmark.ini").c_str(), 0644), 0);
    for (const std::string mode : {"-o /dev/null ", "--missing "}) {
        const ProcessResult result = Shell("convert " + mode + "A.MIN < /dev/null");
        EXPECT_THAT(result.err, HasSubstr("Quillmark.ini is not a plain file; it was skipped"))
            << mode;
        EXPECT_NE(result.exitCode, 124) << "waited for a writer";
    }
}

// An endless pipe is given up at its limit, without first doubling its buffer past it: with
// no allocation above 1.1 GiB allowed, the refusal is still the limit's.
TEST_F(ConverterHostileFilesTest, AnEndlessDictionaryPipeStopsAtItsLimit) {
    const ProcessResult result =
        Shell("yes | " + AllocationsAbove(1100) + Quoted(QM_CONVERTER) + " -d /dev/stdin A.MIN");
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_THAT(
        result.err,
        HasSubstr("/dev/stdin not find dictionaly. /dev/stdin: more than 1024 MiB arrived"));
}

// The new file could not be given the old one's owner (first), or the folder takes no new file
// (second): the file is rewritten through its own inode.
TEST_F(ConverterHostileFilesTest, AnotherUsersFileIsRewrittenInPlaceKeepingItsOwner) {
    if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs the superuser";
    fs::permissions(folder_.path(), fs::perms::all);
    fs::create_directory(File("locked"));
    fs::permissions(File("locked"),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    for (const std::string& shared : {File("shared.txt"), File("locked/shared.txt")}) {
        WriteBytes(shared, "old");
        ::chmod(shared.c_str(), 0666);  // root's, writable by all
        const Snapshot before = Take(shared);
        const ProcessResult result =
            Shell("XDG_CONFIG_HOME=nobody setpriv --reuid=65534 --regid=65534 --clear-groups " +
                  Quoted(QM_CONVERTER) + " -d Test.dic A.MIN -o " + Quoted(shared));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        struct stat info {};
        ASSERT_EQ(::stat(shared.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 0u);
        EXPECT_EQ(info.st_ino, before.inode);
        EXPECT_EQ(ReadBytes(shared), kConverted);
    }
}

TEST_F(ConverterHostileFilesTest, AProgramAppendedToItselfIsReadWholeFirst) {
    // Converted as it is read, its own result would keep it reading for ever.
    const std::string program =
        Repeated("N1 G00 X1.\r\n", std::size_t(9) << 19);  // more than a part
    Program("A.MIN", program);
    const ProcessResult result = Shell("convert -d Test.dic A.MIN >> A.MIN");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(ReadBytes(File("A.MIN")) == program + Run({"-d", dictionary_}, program).out);
}

TEST_F(ConverterHostileFilesTest, RunningOutOfMemoryExitsThreeWithAMessageAndWritesNothing) {
    // A dictionary whose every entry doubles the line: [0] -> "[1] [1]", [1] -> "[2] [2]", ...
    std::string records;
    for (int i = 0; i < 60; ++i) {
        const std::string next = "[" + std::to_string(i + 1) + "]";
        records += "0,\"[" + std::to_string(i) + "]\",\"" + next + " " + next + "\"\r\n";
    }
    WriteBytes(dictionary_, kHeader + records);
    Program("D.MIN", "[0]\r\n");
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer's heap cannot live under ulimit -v; its allocator refuses instead, and the
    // preloaded operator new turns the refusal into std::bad_alloc.
    const std::string convert = AllocationsAbove(8) + Quoted(QM_CONVERTER) + " -d Test.dic ";
#else
    const std::string convert = "ulimit -v 600000; " + Quoted(QM_CONVERTER) + " -d Test.dic ";
#endif
    const ProcessResult result = Shell(convert + "-o out.txt D.MIN");
    EXPECT_EQ(result.exitCode, 3) << result.err;
    EXPECT_THAT(result.err, HasSubstr("D.MIN: "));
    EXPECT_THAT(result.err, HasSubstr("Nothing was written."));
    EXPECT_FALSE(fs::exists(File("out.txt")));

    // A large program whose first megabytes were already written to standard output, a file:
    // the file is cut back to what it held before.
    Program("D.MIN", Repeated("N1 G01 X1. Y2.\r\n", std::size_t(9) << 19) + "[0]\r\n");
    Program("out.txt", "earlier results\n");
    const ProcessResult halfway = Shell(convert + "D.MIN >> out.txt");
    EXPECT_EQ(halfway.exitCode, 3) << halfway.err;
    EXPECT_THAT(halfway.err, HasSubstr("Nothing was written."));
    EXPECT_TRUE(ReadBytes(File("out.txt")) == "earlier results\n") << "the file was not cut back";
}

}  // namespace
}  // namespace qm::test
