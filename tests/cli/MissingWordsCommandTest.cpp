// quillmark-convert --missing: the code words the dictionary lacks, over one or more programs.
#include <gtest/gtest.h>

#include "ConverterFixture.h"

namespace qm::test {
namespace {

class MissingWordsCommandTest : public test::ConverterFixture {
  protected:
    MissingWordsCommandTest()
        : ConverterFixture("0,\"G01\",\"LINEAR\"\r\n0,\"M3\",\"spindle on\"\r\n") {}
};

TEST_F(MissingWordsCommandTest, LargeProgramsCountLinesOverEveryPartAndDecodeShiftJisFoundLate) {
    // Read a few megabytes at a time; the last line is the first to show the program's encoding.
    std::string lines;
    std::size_t count = 0;
    for (; lines.size() < (std::size_t(9) << 19); ++count)
        lines += "N1 G01 M3\r\n";
    WriteBytes(File("UTF8.MIN"), lines + "(\xE4\xB8\xBB) M98\r\n");
    // The second byte of the Shift-JIS character \x83\x47 is a G: undecoded, G05 would count.
    WriteBytes(File("SJIS.MIN"), lines +
                                     "\x83\x47"
                                     "05 M99\r\n");
    const ProcessResult result =
        Run({"--missing", "-d", dictionary_, File("UTF8.MIN"), File("SJIS.MIN")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::string last = std::to_string(count + 1);
    EXPECT_EQ(result.out, "M98\t1\t" + File("UTF8.MIN") + ":" + last + "\nM99\t1\t" +
                              File("SJIS.MIN") + ":" + last + "\n");
}

// Counted over every file, most frequent first, equal counts in byte order; the first
// occurrence names the file as given. Words in comments and words the dictionary has are not
// listed: "G1" is missing beside "G01".
TEST_F(MissingWordsCommandTest, ListsWordCountAndFirstOccurrenceOverSeveralFiles) {
    WriteBytes(File("A.MIN"), "G01\nM3 G1 (G3) ; G4\n");
    WriteBytes(File("B.MIN"), "\n\nG02 G02\nM8");
    WriteBytes(File("C.MIN"), "M8\nG02 #100");
    const std::string b = folder_.path().string() + "/./B.MIN";  // as given, not tidied up
    const ProcessResult result =
        Run({"--missing", "-d", dictionary_, File("A.MIN"), b, File("C.MIN")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "G02\t3\t" + b + ":3\nM8\t2\t" + b + ":4\n#100\t1\t" + File("C.MIN") +
                              ":2\nG1\t1\t" + File("A.MIN") + ":2\n");
    EXPECT_EQ(result.err, "");

    // Nothing missing: nothing printed.
    const ProcessResult none = Run({"--missing", "-d", dictionary_, Program("D.MIN", "G01 M3")});
    EXPECT_EQ(none.exitCode, 0) << none.err;
    EXPECT_EQ(none.out, "");
}

TEST_F(MissingWordsCommandTest, WithoutDictionaryOptionUsesTheDictionaryKeptForTheType) {
    WriteSettings("SUBdic=" + Program("Other.dic", kHeader + "0,\"G00\",\"RAPID\"\r\n") + "\n");
    const ProcessResult result = Run({"--missing", Program("P.SUB", "G00 G01")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "G01\t1\t" + File("P.SUB") + ":1\n");
}

TEST_F(MissingWordsCommandTest, ReadsProgramsAndDictionariesThroughPipesAsConversionDoes) {
    Program("P.NC", "G00 G01\r\nM3 G02\r\n");
    const struct {
        std::string command;
        std::string name;  // the program as named in the list
    } rows[] = {
        {"cat P.NC | convert --missing -d Test.dic", "-"},
        {"convert --missing -d Test.dic - < P.NC", "-"},
        {"convert --missing -d Test.dic <(cat P.NC)", "/dev/fd/63"},  // bash's first
        {"convert --missing -d <(cat Test.dic) P.NC", "P.NC"},
    };
    for (const auto& row : rows) {
        const ProcessResult result = Shell(row.command);
        EXPECT_EQ(result.exitCode, 0) << row.command << "\n" << result.err;
        EXPECT_EQ(result.out, "G00\t1\t" + row.name + ":1\nG02\t1\t" + row.name + ":2\n")
            << row.command;
    }
}

TEST_F(MissingWordsCommandTest, AFileThatCannotBeReadFailsAloneWhileTheOthersAreListed) {
    const ProcessResult result =
        Run({"--missing", "-d", dictionary_, File("none.MIN"), Program("A.MIN", "G05")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_THAT(result.err, HasSubstr(File("none.MIN")));
    EXPECT_EQ(result.out, "G05\t1\t" + File("A.MIN") + ":1\n");
}

}  // namespace
}  // namespace qm::test
