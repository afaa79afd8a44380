// quillmark-convert --missing: the code words the dictionary lacks, over one or more programs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "ConverterFixture.h"

namespace qm {
namespace {

using test::ProcessResult;
using test::WriteBytes;

using test::kHeader;

class MissingWordsCommandTest : public test::ConverterFixture {
  protected:
    MissingWordsCommandTest() : ConverterFixture("0,\"G01\",\"LINEAR\"\r\n0,\"M3\",\"spindle on\"\r\n") {}
};

TEST_F(MissingWordsCommandTest, ListsWordCountAndFirstLineMostFrequentFirst) {
    const std::string program = File("O1.MIN");
    WriteBytes(program, "G01 M3 G1\r\nG2 (G3) M03 ; G4\r\nG1 #100 M03 G01\r\n");
    const ProcessResult result = Run({"--missing", "-d", dictionary_, program});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "G1\t2\t" + program + ":1\n" + "M03\t2\t" + program + ":2\n" +
                              "#100\t1\t" + program + ":3\n" + "G2\t1\t" + program + ":2\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(MissingWordsCommandTest, LargeProgramsCountLinesOverEveryPartAndDecodeShiftJisFoundLate) {
    // Read a few megabytes at a time; the last line is the first to show the program's encoding.
    std::string lines;
    std::size_t count = 0;
    for (; lines.size() < (std::size_t(9) << 19); ++count) lines += "N1 G01 M3\r\n";
    WriteBytes(File("UTF8.MIN"), lines + "(\xE4\xB8\xBB) M98\r\n");
    // The second byte of the Shift-JIS character \x83\x47 is a G: undecoded, G05 would count.
    WriteBytes(File("SJIS.MIN"), lines + "\x83\x47" "05 M99\r\n");
    const ProcessResult result = Run({"--missing", "-d", dictionary_, File("UTF8.MIN"), File("SJIS.MIN")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::string last = std::to_string(count + 1);
    EXPECT_EQ(result.out, "M98\t1\t" + File("UTF8.MIN") + ":" + last + "\nM99\t1\t" + File("SJIS.MIN") + ":" + last + "\n");
}

TEST_F(MissingWordsCommandTest, CountsOverSeveralFilesNamedAsGiven) {
    WriteBytes(File("A.MIN"), "G01\nM3\n");
    WriteBytes(File("B.MIN"), "\n\nG02 G02\nM8");
    WriteBytes(File("C.MIN"), "M8\nG02");
    const std::string b = folder_.path().string() + "/./B.MIN";  // as given, not tidied up
    const ProcessResult result =
        Run({"--missing", "-d", dictionary_, File("A.MIN"), b, File("C.MIN")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "G02\t3\t" + b + ":3\nM8\t2\t" + b + ":4\n");

    // Nothing missing: nothing printed.
    const ProcessResult none = Run({"--missing", "-d", dictionary_, File("A.MIN")});
    EXPECT_EQ(none.exitCode, 0) << none.err;
    EXPECT_EQ(none.out, "");
}

TEST_F(MissingWordsCommandTest, ReadsStandardInputAndChoosesTheDictionaryAsConversionDoes) {
    ProcessResult result = Run({"--missing", "-d", dictionary_}, "G00 G01");
    EXPECT_EQ(result.out, "G00\t1\t-:1\n");

    // Without -d, the dictionary kept for the file's type.
    const std::string other = File("Other.dic");
    WriteBytes(other, kHeader + "0,\"G00\",\"RAPID\"\r\n");
    std::filesystem::create_directories(File("config/Quillmark"));
    WriteBytes(File("config/Quillmark/Quillmark.ini"), "[Settings]\nSUBdic=" + other + "\n");
    WriteBytes(File("P.SUB"), "G00 G01");
    result = Run({"--missing", File("P.SUB")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "G01\t1\t" + File("P.SUB") + ":1\n");
}

TEST_F(MissingWordsCommandTest, ReadsProgramsAndDictionariesThroughPipesAsConversionDoes) {
    WriteBytes(File("P.NC"), "G00 G01\r\nM3 G02\r\n");
    const std::string converter = "'" QM_CONVERTER "' --missing ";
    const std::string program = "'" + File("P.NC") + "'", dictionary = "'" + dictionary_ + "'";
    const struct {
        std::string command;
        std::string name;  // the program as named in the list
    } rows[] = {
        {"cat " + program + " | " + converter + "-d " + dictionary, "-"},
        {converter + "-d " + dictionary + " - < " + program, "-"},
        {converter + "-d " + dictionary + " <(cat " + program + ")", "/dev/fd/63"},  // bash's first
        {converter + "-d <(cat " + dictionary + ") " + program, File("P.NC")},
    };
    for (const auto& row : rows) {
        const ProcessResult result = test::RunProcess({"/bin/bash", "-c", row.command});
        EXPECT_EQ(result.exitCode, 0) << row.command << "\n" << result.err;
        EXPECT_EQ(result.out, "G00\t1\t" + row.name + ":1\nG02\t1\t" + row.name + ":2\n") << row.command;
    }
}

TEST_F(MissingWordsCommandTest, FailuresKeepTheExitStatusOfConversion) {
    WriteBytes(File("A.MIN"), "G05");
    ProcessResult result = Run({"--missing", "-d", dictionary_, File("none.MIN"), File("A.MIN")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find(File("none.MIN")), std::string::npos) << result.err;
    EXPECT_EQ(result.out,
              "G05\t1\t" + File("A.MIN") + ":1\n");  // the readable file is still listed

    WriteBytes(File("Bad.dic"), "not a dictionary\r\n");
    result = Run({"--missing", "-d", File("Bad.dic"), File("A.MIN")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");

    result = Run({"--missing", "-d", dictionary_, "-o", File("out.txt"), File("A.MIN")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(File("out.txt")));
}

}  // namespace
}  // namespace qm
