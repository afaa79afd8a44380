#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "Convert.h"
#include "DictionaryFile.h"
#include "ConverterFixture.h"

namespace qm {
namespace {

using test::ProcessResult;
using test::ReadBytes;
using test::WriteBytes;

using test::kHeader;
const std::string kShujikuSjis = "\x8E\xE5\x8E\xB2";  // 主軸
const std::string kShujikuUtf8 = "\xE4\xB8\xBB\xE8\xBB\xB8";

class ConvertCommandTest : public test::ConverterFixture {
protected:
    ConvertCommandTest() : ConverterFixture("0,\"G00\",\"RAPID\"\r\n0,\"M3\",\"spindle on\"\r\n") {}
};

TEST_F(ConvertCommandTest, ConvertsStandardInputToStandardOutput) {
    ProcessResult result = Run({"-d", dictionary_}, "G00X1.M3\n");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "RapidX1.Spindle On\n\r\n");
    EXPECT_EQ(result.err, "");

    result = Run({"--space", "--dictionary=" + dictionary_, "-"}, "G00 M3");
    EXPECT_EQ(result.out, " Rapid  Spindle On\r\n");
}

TEST_F(ConvertCommandTest, WritesOneFileToStandardOutputOrToTheOutputPath) {
    WriteBytes(File("O1.MIN"), "G00\r\n");
    ProcessResult result = Run({"-d", dictionary_, File("O1.MIN")});
    EXPECT_EQ(result.out, "Rapid\r\n\r\n");

    result = Run({"-d", dictionary_, "-o", File("out.txt"), File("O1.MIN")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadBytes(File("out.txt")), "Rapid\r\n\r\n");
}

TEST_F(ConvertCommandTest, WritesSeveralFilesIntoAFolderWithoutOverwritingInputs) {
    std::filesystem::create_directory(File("out"));
    WriteBytes(File("A.MIN"), "G00");
    WriteBytes(File("B.MIN"), "M3");
    ProcessResult result = Run({"-d", dictionary_, "-o", File("out"), File("A.MIN"), File("B.MIN")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(File("out/A.MIN.txt")), "Rapid\r\n");
    EXPECT_EQ(ReadBytes(File("out/B.MIN.txt")), "Spindle On\r\n");

    // The result of A.MIN would be A.MIN.txt, which is an input itself: it is left alone.
    WriteBytes(File("A.MIN.txt"), "untouched");
    result = Run({"-d", dictionary_, "-o", folder_.path().string(), File("A.MIN"), File("A.MIN.txt")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("would overwrite an input file"), std::string::npos) << result.err;
    EXPECT_EQ(ReadBytes(File("A.MIN.txt")), "untouched");
    EXPECT_EQ(ReadBytes(File("A.MIN.txt.txt")), "untouched\r\n");  // the other file still went

    result = Run({"-d", dictionary_, "-o", File("A.MIN"), File("A.MIN")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(ReadBytes(File("A.MIN")), "G00");
}

TEST_F(ConvertCommandTest, RefusedDictionaryExitsTwoWithTheCheckMessageAndWritesNothing) {
    WriteBytes(File("Old.dic"), "Translator Dictionary  Ver.1.0  Hollowmere\r\n");
    WriteBytes(File("A.MIN"), "G00");
    ProcessResult result = Run({"-d", File("Old.dic"), "-o", File("out.txt"), File("A.MIN")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("Dictionaly ver. error."), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(File("out.txt")));

    result = Run({"-d", File("none.dic")}, "G00");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find(File("none.dic") + " not find dictionaly."), std::string::npos);
    EXPECT_EQ(result.out, "");

    WriteBytes(File("Bad.dic"), kHeader + "0,\"G00\"\r\n");
    result = Run({"-d", File("Bad.dic")}, "G00");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("line 2: a record has three fields"), std::string::npos) << result.err;
}

TEST_F(ConvertCommandTest, UnreadableFileExitsThreeAfterConvertingTheOthers) {
    std::filesystem::create_directory(File("out"));
    WriteBytes(File("B.MIN"), "M3");
    ProcessResult result = Run({"-d", dictionary_, "-o", File("out"), File("missing.MIN"), File("B.MIN")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find(File("missing.MIN") + ": No such file or directory"), std::string::npos)
        << result.err;
    EXPECT_EQ(ReadBytes(File("out/B.MIN.txt")), "Spindle On\r\n");
    EXPECT_FALSE(std::filesystem::exists(File("out/missing.MIN.txt")));
}

TEST_F(ConvertCommandTest, UsageErrorsExitOneWithTheUsage) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--frobnicate"}, {"-d"}, {"--encoding", "latin1"}, {"a.MIN", "-"},
             {"-o", File("not-a-folder"), "a.MIN", "b.MIN"}}) {
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.exitCode, 1) << args[0];
        EXPECT_NE(result.err.find("quillmark-convert: "), std::string::npos) << result.err;
    }
    EXPECT_NE(Run({"--frobnicate"}).err.find("Usage: quillmark-convert"), std::string::npos);
    const ProcessResult help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: quillmark-convert"), std::string::npos);
    EXPECT_NE(Run({"--version"}).out.find("quillmark-convert (Quillmark) "), std::string::npos);
}

TEST_F(ConvertCommandTest, WritesInTheProgramsEncodingAndPlainAsciiProgramsInUtf8) {
    WriteBytes(dictionary_, kHeader + "0,\"M3\",\"" + kShujikuSjis + "\"\r\n");  // Shift-JIS
    EXPECT_EQ(Run({"-d", dictionary_}, "M3").out, kShujikuUtf8 + "\r\n");
    EXPECT_EQ(Run({"-d", dictionary_}, "(" + kShujikuSjis + ")M3").out,
              "(" + kShujikuSjis + ")" + kShujikuSjis + "\r\n");
    EXPECT_EQ(Run({"-d", dictionary_}, "(" + kShujikuUtf8 + ")M3").out,
              "(" + kShujikuUtf8 + ")" + kShujikuUtf8 + "\r\n");
    EXPECT_EQ(Run({"-d", dictionary_}, "\xEF\xBB\xBFM3").out, "\xEF\xBB\xBF" + kShujikuUtf8 + "\r\n");
    EXPECT_EQ(Run({"-d", dictionary_, "--encoding", "utf-8"}, "M3").out, kShujikuUtf8 + "\r\n");
    // Bytes that are no character survive.
    EXPECT_EQ(Run({"-d", dictionary_}, "\x81\xFF M3").out, "\x81\xFF " + kShujikuSjis + "\r\n");
}

TEST_F(ConvertCommandTest, OutputEncodingOptionChoosesHowResultsAreWritten) {
    WriteBytes(dictionary_, kHeader + "0,\"M3\",\"" + kShujikuSjis + "\"\r\n");
    const auto out = [&](const char* encoding, const std::string& program) {
        return Run({"-d", dictionary_, "--output-encoding", encoding}, program).out;
    };
    EXPECT_EQ(out("auto", "M3"), kShujikuUtf8 + "\r\n");
    EXPECT_EQ(out("shift_jis", "M3"), kShujikuSjis + "\r\n");
    EXPECT_EQ(out("utf-8", "(" + kShujikuSjis + ")M3"), "(" + kShujikuUtf8 + ")" + kShujikuUtf8 + "\r\n");
    EXPECT_EQ(out("utf-8", "\xEF\xBB\xBFM3"), "\xEF\xBB\xBF" + kShujikuUtf8 + "\r\n");
    EXPECT_EQ(Run({"-d", dictionary_, "--output-encoding=shift_jis"}, "(" + kShujikuUtf8 + ")M3").out,
              "(" + kShujikuSjis + ")" + kShujikuSjis + "\r\n");
    const ProcessResult wrong = Run({"-d", dictionary_, "--output-encoding", "latin1"}, "M3");
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_NE(wrong.err.find("unknown output encoding 'latin1'"), std::string::npos) << wrong.err;
    EXPECT_NE(Run({"--help"}).out.find("--output-encoding ENC"), std::string::npos);
}

TEST_F(ConvertCommandTest, CharacterTheOutputCannotHoldFailsWithoutWriting) {
    WriteBytes(dictionary_, "\xEF\xBB\xBF" + kHeader + "0,\"M3\",\"k\xC3\xBChlen\"\r\n");  // kühlen
    WriteBytes(File("A.MIN"), "(" + kShujikuSjis + ")M3");
    const ProcessResult result = Run({"-d", dictionary_, "-o", File("out.txt"), File("A.MIN")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("\"\xC3\xBC\" (U+00FC) on line 1 cannot be written in Shift-JIS"),
              std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(File("out.txt")));
}

TEST_F(ConvertCommandTest, WithoutDictionaryOptionUsesTheDictionaryOfTheFileType) {
    const std::string program = ReadBytes(std::string(QM_PROGRAM_FOLDER) + "/SAMPLE.MIN");
    const auto convertedWith = [&](const std::string& dictionary) {
        return Run({"-d", std::string(QM_PROGRAM_FOLDER) + "/" + dictionary}, program).out;
    };
    const struct {
        std::string file, dictionary;
    } cases[] = {{"P.min", "Kestrel-ENG.dic"}, {"P.SUB", "Kestrel-ENG.dic"},  {"P.nc", "Merlin.dic"},
                 {"PROGRAM", "Merlin.dic"},      {"P.DAT", "Kestrel.dic"},      {"v1.2/P.min", "Kestrel-ENG.dic"},
                 {"j.smith/PROGRAM", "Merlin.dic"}, {"P.ngc", "Merlin.dic"},    {"P.gcode", "Merlin.dic"},
                 {"P.TAP", "Merlin.dic"}};
    std::filesystem::create_directories(File("v1.2"));
    std::filesystem::create_directories(File("j.smith"));
    for (const auto& c : cases) {
        WriteBytes(File(c.file), program);
        const ProcessResult result = Run({File(c.file)});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, convertedWith(c.dictionary)) << c.file;
    }
    EXPECT_NE(convertedWith("Kestrel-ENG.dic"), convertedWith("Merlin.dic"));
}

TEST_F(ConvertCommandTest, WithoutDictionaryOptionUsesTheDictionaryTheUserChoseForTheType) {
    std::filesystem::create_directories(File("config/Quillmark"));
    WriteBytes(File("config/Quillmark/Quillmark.ini"),
               "[Settings]\nsubdic=" + dictionary_ + "\nDicFileName=" + dictionary_ + "\n");
    WriteBytes(File("P.SUB"), "G00");
    WriteBytes(File("P.DAT"), "M3");
    EXPECT_EQ(Run({File("P.SUB")}).out, "Rapid\r\n");
    EXPECT_EQ(Run({File("P.DAT")}).out, "Spindle On\r\n");
}

TEST_F(ConvertCommandTest, ProgramsSmallAndLargeConvertAsTheReferenceDoes) {
    // Later entries see the comments earlier ones inserted; small and large programs, one after
    // the other with the same dictionary, must all follow that order.
    WriteBytes(dictionary_, kHeader + "0,\"G00\",\"G01 RAPID\"\r\n0,\"G01\",\"LINEAR\"\r\n0,\"X\",\"AXIS X\"\r\n");
    DictionaryTable table;
    ASSERT_TRUE(LoadDictionaryFile(dictionary_, table).ok());
    std::string large;
    while (large.size() < 4096) large += "N" + std::to_string(large.size()) + " G00 X1. G01 Y2.\r\n";
    const std::vector<std::pair<std::string, std::string>> programs = {
        {"A.NC", "G00 X1.\r\n"}, {"B.NC", large}, {"C.NC", std::string(500, 'X') + "G00"}, {"D.NC", "G01\r\nX"}};
    std::filesystem::create_directory(File("out"));
    std::vector<std::string> args = {"-d", dictionary_, "-o", File("out")};
    for (const auto& [name, text] : programs) {
        WriteBytes(File(name), text);
        args.push_back(File(name));
    }
    const ProcessResult result = Run(args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const auto& [name, text] : programs) {
        EXPECT_EQ(ReadBytes(File("out/" + name + ".txt")), ConvertReference(text, table, false)) << name;
    }
}

TEST_F(ConvertCommandTest, LargeProgramsWrittenToFilesGetWhatTheWholeTextGives) {
    // A program read from a file is converted a few megabytes at a time; one read from standard
    // input is converted whole. Both must give the same, whatever the encoding shows late, and
    // whether the result goes to -o or to standard output appended to a file.
    WriteBytes(dictionary_, kHeader + "0,\"G00\",\"RAPID\"\r\n0,\"M3\",\"" + kShujikuUtf8 +
                                "\"\r\n0,\"M9\",\"k\xC3\xBChlen\"\r\n");
    std::string lines;
    for (int n = 1; lines.size() < (std::size_t(9) << 19); ++n) {
        lines += "N" + std::to_string(n) + " G00 X1. M3 (" + kShujikuUtf8 + ")\r\n";
    }
    const struct {
        const char* what;
        std::string program;
        std::vector<std::string> options;
    } cases[] = {
        {"UTF-8", lines + "G00", {}},
        {"Shift-JIS found on the last line", lines + "(" + kShujikuSjis + ")M3\r\n", {}},
        {"byte-order mark, a stray byte at the end", "\xEF\xBB\xBF" + lines + "\xFF M3", {}},
        {"a line longer than a part", std::string(4 << 20, 'G') + "00\r\n" + lines.substr(0, 1 << 20), {}},
        {"Shift-JIS asked for", lines, {"--encoding", "shift_jis", "--output-encoding", "utf-8"}},
    };
    for (const auto& c : cases) {
        WriteBytes(File("BIG.NC"), c.program);
        WriteBytes(File("APPENDED.txt"), "earlier\n");
        std::vector<std::string> args = {"-d", dictionary_};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProcessResult whole = Run(args, c.program);
        std::vector<std::string> appended = {"/bin/sh", "-c", "out=$1; shift; exec \"$@\" >> \"$out\"", "sh",
                                             File("APPENDED.txt"), QM_CONVERTER};
        appended.insert(appended.end(), args.begin(), args.end());
        appended.push_back(File("BIG.NC"));
        args.insert(args.end(), {"-o", File("BIG.txt"), File("BIG.NC")});
        const ProcessResult toFile = Run(args), toOutput = test::RunProcess(appended);
        ASSERT_EQ(whole.exitCode, 0) << c.what << ": " << whole.err;
        ASSERT_EQ(toFile.exitCode, 0) << c.what << ": " << toFile.err;
        ASSERT_EQ(toOutput.exitCode, 0) << c.what << ": " << toOutput.err;
        EXPECT_TRUE(ReadBytes(File("BIG.txt")) == whole.out) << c.what;
        EXPECT_TRUE(ReadBytes(File("APPENDED.txt")) == "earlier\n" + whole.out) << c.what;
    }
    // A comment holding a byte that its dictionary's encoding has no character for gives that
    // byte back, in the middle of UTF-8 text.
    WriteBytes(File("RAW.dic"), kHeader + "0,\"M3\",\"\xFF\"\r\n");
    WriteBytes(File("BIG.NC"), lines);
    const ProcessResult rawWhole = Run({"-d", File("RAW.dic")}, lines);
    ASSERT_EQ(Run({"-d", File("RAW.dic"), "-o", File("BIG.txt"), File("BIG.NC")}).exitCode, 0);
    EXPECT_NE(rawWhole.out.find("X1. \xFF (" + kShujikuUtf8 + ")"), std::string::npos);
    EXPECT_TRUE(ReadBytes(File("BIG.txt")) == rawWhole.out);
    // A character the result cannot hold, on the last line: the message counts lines over the
    // whole program, and nothing is written.
    WriteBytes(File("BIG.NC"), lines + "M9");
    const ProcessResult refused = Run({"-d", dictionary_, "--output-encoding", "shift_jis", "-o", File("NEW.txt"), File("BIG.NC")});
    EXPECT_EQ(refused.exitCode, 3);
    const std::string lastLine = std::to_string(std::count(lines.begin(), lines.end(), '\n') + 1);
    EXPECT_NE(refused.err.find("(U+00FC) on line " + lastLine + " cannot"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(File("NEW.txt")));
    for (const auto& file : std::filesystem::directory_iterator(folder_.path())) {
        EXPECT_FALSE(file.path().filename().string().starts_with(".")) << "left behind: " << file.path();
    }
}

}  // namespace
}  // namespace qm
