#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "Convert.h"
#include "ConverterFixture.h"
#include "DictionaryFile.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

class ConvertCommandTest : public ConverterFixture {
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

TEST_F(ConvertCommandTest, WritesSeveralFilesIntoAFolderWithoutOverwritingInputs) {
    fs::create_directory(File("out"));
    Program("A.MIN", "G00");
    Program("B.MIN", "M3");
    // A file that cannot be read fails alone: the others are still converted.
    ProcessResult result = Run(
        {"-d", dictionary_, "-o", File("out"), File("A.MIN"), File("missing.MIN"), File("B.MIN")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_THAT(result.err, HasSubstr(File("missing.MIN") + ": No such file or directory"));
    EXPECT_EQ(ReadBytes(File("out/A.MIN.txt")), "Rapid\r\n");
    EXPECT_EQ(ReadBytes(File("out/B.MIN.txt")), "Spindle On\r\n");
    EXPECT_FALSE(fs::exists(File("out/missing.MIN.txt")));

    // The result of A.MIN would be A.MIN.txt, which is an input itself: it is left alone.
    Program("A.MIN.txt", "untouched");
    result =
        Run({"-d", dictionary_, "-o", folder_.path().string(), File("A.MIN"), File("A.MIN.txt")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_THAT(result.err, HasSubstr("would overwrite an input file"));
    EXPECT_EQ(ReadBytes(File("A.MIN.txt")), "untouched");
    EXPECT_EQ(ReadBytes(File("A.MIN.txt.txt")), "untouched\r\n");  // the other file still went

    result = Run({"-d", dictionary_, "-o", File("A.MIN"), File("A.MIN")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(ReadBytes(File("A.MIN")), "G00");
}

// Whatever fails, the status says what kind of failure it was, the message why, and nothing
// is written.
TEST_F(ConvertCommandTest, ExitStatusAndMessageSayWhatWentWrong) {
    const std::string a = Program("A.MIN", "G00"), nc = Program("P.NC", "M2\n"),
                      out = File("out.txt");
    const std::string old = Program("Old.dic", "Translator Dictionary  Ver.1.0  Hollowmere\r\n");
    const std::string bad = Program("Bad.dic", kHeader + "0,\"G00\"\r\n");
    const std::string mac =
        Program("Mac.dic", "Translator Dictionary  Ver.1.1  Hollowmere\r0,\"G00\",\"RAPID\"\r");
    const std::string kuehlen =
        Program("K.dic", "\xEF\xBB\xBF" + kHeader + "0,\"M3\",\"k\xC3\xBChlen\"\r\n");
    const std::string sj = Program("S.MIN", "(" + kShujikuSjis + ")M3");
    const std::string cannotHold = "\"\xC3\xBC\" (U+00FC) on line 1 cannot be written in Shift-JIS";
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string message;  // on standard error, or on standard output for success
    } rows[] = {
        {{"--frobnicate"}, 1, "Usage: quillmark-convert"},
        {{"-d"}, 1, "option -d needs a value"},
        {{"--encoding", "latin1"}, 1, "unknown encoding 'latin1'"},
        {{"--output-encoding", "latin1"}, 1, "unknown output encoding 'latin1'"},
        {{"a.MIN", "-"}, 1, "standard input (-) can only be converted on its own"},
        {{"-o", File("not-a-folder"), "a.MIN", "b.MIN"}, 1, "-o must name an existing folder"},
        {{"--check", "--dialect", "heidenhain", nc}, 1, "unknown dialect 'heidenhain'"},
        {{"--state", "0", nc}, 1, "--state needs a line number from 1"},
        {{"--toolpath", "--check", nc}, 1, "only one of --toolpath, --summary, --check"},
        {{"--toolpath", nc, nc}, 1, "--toolpath follows one FILE"},
        {{"--missing", "-d", dictionary_, "-o", out, a}, 1, "-o does not go with it"},
        {{"-d", old, "-o", out, a}, 2, "Dictionaly ver. error."},
        {{"-d", File("none.dic"), "-o", out, a}, 2, File("none.dic") + " not find dictionaly."},
        {{"-d", bad}, 2, "line 2: a record has three fields"},
        {{"-d", mac, a}, 2, "end in CR alone"},
        {{"--missing", "-d", old, a}, 2, "Dictionaly ver. error."},
        {{"-d", kuehlen, "-o", out, sj}, 3, cannotHold},
        {{"--help"}, 0, "--output-encoding ENC"},
        {{"--version"}, 0, "quillmark-convert (Quillmark) "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args[0] + " " + row.message);
        const ProcessResult result = Run(row.args, "G00");
        EXPECT_EQ(result.exitCode, row.exitCode) << result.err;
        EXPECT_THAT(row.exitCode == 0 ? result.out : result.err, HasSubstr(row.message));
        if (row.exitCode == 0)
            continue;
        EXPECT_THAT(result.err, HasSubstr("quillmark-convert: "));
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(fs::exists(out));
    }
}

// A plain-ASCII program's result is UTF-8 whatever the dictionary's encoding; any other is
// written in the program's own encoding unless --output-encoding says otherwise.
TEST_F(ConvertCommandTest, ResultsAreWrittenInTheProgramsOrTheChosenEncoding) {
    const std::string mark = "\xEF\xBB\xBF", hayai = "\xE6\x97\xA9";  // 早
    const std::string &S = kShujikuSjis, &U = kShujikuUtf8;
    // Every byte value in every order, bytes that are no character among them and characters
    // with two codes (leads 0x87, 0xED, 0xEE), which keep the code the program used.
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += char(i * 7 % 256);
    const std::string sjis = Program("SJ.dic", kHeader + "0,\"M3\",\"" + S + "\"\r\n");
    const std::string marked = Program("U8.dic", mark + kHeader + "0,\"M3\",\"" + hayai + "\"\r\n");
    const struct {
        const std::string& dictionary;
        std::vector<std::string> options;
        std::string program, converted;
    } rows[] = {
        {sjis, {}, "M3", U + "\r\n"},
        {sjis, {}, "(" + S + ")M3", "(" + S + ")" + S + "\r\n"},
        {sjis, {}, "(" + U + ")M3", "(" + U + ")" + U + "\r\n"},
        {sjis, {}, mark + "M3", mark + U + "\r\n"},
        {sjis, {}, "\x81\xFF M3", "\x81\xFF " + S + "\r\n"},  // bytes that are no character
        {sjis, {"--encoding", "utf-8"}, "M3", U + "\r\n"},
        {sjis, {"--output-encoding", "auto"}, "M3", U + "\r\n"},
        {sjis, {"--output-encoding", "shift_jis"}, "M3", S + "\r\n"},
        {sjis, {"--output-encoding", "utf-8"}, "(" + S + ")M3", "(" + U + ")" + U + "\r\n"},
        {sjis, {"--output-encoding", "utf-8"}, mark + "M3", mark + U + "\r\n"},
        {sjis, {"--output-encoding=shift_jis"}, "(" + U + ")M3", "(" + S + ")" + S + "\r\n"},
        {marked, {}, "M3", hayai + "\r\n"},  // the dictionary's mark stays out
        {marked, {}, mark + "M3", mark + hayai + "\r\n"},
        {sjis, {"--encoding", "shift_jis"}, binary + "M3", binary + S + "\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.program);
        std::vector<std::string> args = {"-d", row.dictionary};
        args.insert(args.end(), row.options.begin(), row.options.end());
        EXPECT_EQ(Run(args, row.program).out, row.converted);
        args.push_back(Program("P.MIN", row.program));
        EXPECT_EQ(Run(args).out, row.converted);
    }
}

TEST_F(ConvertCommandTest, WithoutDictionaryOptionUsesTheDictionaryOfTheFileType) {
    const std::string program = ReadBytes(std::string(QM_PROGRAM_FOLDER) + "/SAMPLE.MIN");
    const auto convertedWith = [&](const std::string& dictionary) {
        return Run({"-d", std::string(QM_PROGRAM_FOLDER) + "/" + dictionary}, program).out;
    };
    const struct {
        std::string dictionary;
        std::vector<std::string> files;
    } types[] = {
        {"Kestrel-ENG.dic", {"P.min", "P.SUB", "v1.2/P.min"}},
        {"Kestrel.dic", {"P.DAT"}},
        {"Merlin.dic", {"P.nc", "PROGRAM", "j.smith/PROGRAM", "P.ngc", "P.gcode", "P.TAP"}}};
    fs::create_directories(File("v1.2"));
    fs::create_directories(File("j.smith"));
    for (const auto& type : types) {
        for (const std::string& file : type.files) {
            const ProcessResult result = Run({Program(file, program)});
            EXPECT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(result.out, convertedWith(type.dictionary)) << file;
        }
    }
    EXPECT_NE(convertedWith("Kestrel-ENG.dic"), convertedWith("Merlin.dic"));

    // The dictionary the user chose for a type takes the default's place.
    WriteSettings("subdic=" + dictionary_ + "\nDicFileName=" + dictionary_ + "\n");
    EXPECT_EQ(Run({Program("P.SUB", "G00")}).out, "Rapid\r\n");
    EXPECT_EQ(Run({Program("P.DAT", "M3")}).out, "Spindle On\r\n");
}

TEST_F(ConvertCommandTest, ProgramsSmallAndLargeConvertAsTheReferenceDoes) {
    // Later entries see the comments earlier ones inserted; small and large programs, one after
    // the other with the same dictionary, must all follow that order.
    WriteBytes(
        dictionary_,
        kHeader + "0,\"G00\",\"G01 RAPID\"\r\n0,\"G01\",\"LINEAR\"\r\n0,\"X\",\"AXIS X\"\r\n");
    DictionaryTable table;
    ASSERT_TRUE(LoadDictionaryFile(dictionary_, table).ok());
    std::string large;
    while (large.size() < 4096)
        large += "N" + std::to_string(large.size()) + " G00 X1. G01 Y2.\r\n";
    const std::vector<std::pair<std::string, std::string>> programs = {
        {"A.NC", "G00 X1.\r\n"},
        {"B.NC", large},
        {"C.NC", std::string(500, 'X') + "G00"},
        {"D.NC", "G01\r\nX"}};
    fs::create_directory(File("out"));
    for (const auto& [name, text] : programs)
        Program(name, text);
    for (const bool space : {false, true}) {  // -s: a blank before every comment
        std::vector<std::string> args = {"-d", dictionary_, "-o", File("out")};
        if (space)
            args.push_back("-s");
        for (const auto& [name, text] : programs)
            args.push_back(File(name));
        const ProcessResult result = Run(args);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        for (const auto& [name, text] : programs)
            EXPECT_EQ(ReadBytes(File("out/" + name + ".txt")), ConvertReference(text, table, space))
                << name << (space ? " with -s" : "");
    }
    // From standard input a program is converted whole, not in parts.
    EXPECT_EQ(Run({"-s", "-d", dictionary_}, large).out, ConvertReference(large, table, true));
}

TEST_F(ConvertCommandTest, LargeProgramsWrittenToFilesGetWhatTheWholeTextGives) {
    // A program read from a file is converted a few megabytes at a time; one read from standard
    // input is converted whole. Both must give the same, whatever the encoding shows late, and
    // whether the result goes to -o or to standard output appended to a file.
    WriteBytes(dictionary_, kHeader + "0,\"G00\",\"RAPID\"\r\n0,\"M3\",\"" + kShujikuUtf8 +
                                "\"\r\n0,\"M9\",\"k\xC3\xBChlen\"\r\n");
    std::string lines;
    for (int n = 1; lines.size() < (std::size_t(9) << 19); ++n)
        lines += "N" + std::to_string(n) + " G00 X1. M3 (" + kShujikuUtf8 + ")\r\n";
    const struct {
        const char* what;
        std::string program, options;
    } cases[] = {
        {"UTF-8", lines + "G00", ""},
        {"Shift-JIS found on the last line", lines + "(" + kShujikuSjis + ")M3\r\n", ""},
        {"byte-order mark, a stray byte at the end", "\xEF\xBB\xBF" + lines + "\xFF M3", ""},
        {"a line longer than a part",
         std::string(4 << 20, 'G') + "00\r\n" + lines.substr(0, 1 << 20), ""},
        {"Shift-JIS asked for", lines, "--encoding shift_jis --output-encoding utf-8 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Program("BIG.NC", c.program);
        WriteBytes(File("APPENDED.txt"), "earlier\n");
        const std::string convert = "convert -d Test.dic " + c.options;
        const ProcessResult whole = Shell(convert + "< BIG.NC"),
                            toFile = Shell(convert + "-o BIG.txt BIG.NC"),
                            toOutput = Shell(convert + "BIG.NC >> APPENDED.txt");
        ASSERT_EQ(whole.exitCode, 0) << whole.err;
        ASSERT_EQ(toFile.exitCode, 0) << toFile.err;
        ASSERT_EQ(toOutput.exitCode, 0) << toOutput.err;
        EXPECT_TRUE(ReadBytes(File("BIG.txt")) == whole.out);
        EXPECT_TRUE(ReadBytes(File("APPENDED.txt")) == "earlier\n" + whole.out);
    }
    // A comment holding a byte that its dictionary's encoding has no character for gives that
    // byte back, in the middle of UTF-8 text.
    Program("RAW.dic", kHeader + "0,\"M3\",\"\xFF\"\r\n");
    Program("BIG.NC", lines);
    const ProcessResult rawWhole = Run({"-d", File("RAW.dic")}, lines);
    ASSERT_EQ(Run({"-d", File("RAW.dic"), "-o", File("BIG.txt"), File("BIG.NC")}).exitCode, 0);
    EXPECT_THAT(rawWhole.out, HasSubstr("X1. \xFF (" + kShujikuUtf8 + ")"));
    EXPECT_TRUE(ReadBytes(File("BIG.txt")) == rawWhole.out);
    // A character the result cannot hold, on the last line: the message counts lines over the
    // whole program, and nothing is written.
    Program("BIG.NC", lines + "M9");
    const ProcessResult refused = Run({"-d", dictionary_, "--output-encoding", "shift_jis", "-o",
                                       File("NEW.txt"), File("BIG.NC")});
    EXPECT_EQ(refused.exitCode, 3);
    const std::string lastLine = std::to_string(std::count(lines.begin(), lines.end(), '\n') + 1);
    EXPECT_THAT(refused.err, HasSubstr("(U+00FC) on line " + lastLine + " cannot"));
    EXPECT_FALSE(fs::exists(File("NEW.txt")));
    EXPECT_EQ(LeftBehind(folder_.path()), std::vector<std::string>());
}

}  // namespace
}  // namespace qm::test
