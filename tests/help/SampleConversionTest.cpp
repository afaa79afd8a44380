// The default dictionaries of the program folder, and the bundled samples converted with the
// dictionary of their type. The expected lines were worked out by hand from the dictionary
// sources.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Convert.h"
#include "DictionaryFile.h"
#include "FileType.h"
#include "TempFolder.h"

namespace qm {
namespace {

const std::string kFolder = QM_PROGRAM_FOLDER;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// The sample converted with its type's default dictionary, one string a line.
std::vector<std::string> ConvertSample(const std::string& sample) {
    DictionaryTable table;
    const std::string dictionary =
        kFolder + "/" + std::string(DefaultDictionaryFor(FileTypeKey(sample)));
    const Status loaded = LoadDictionaryFile(dictionary, table);
    EXPECT_TRUE(loaded.ok()) << loaded.message();
    std::vector<std::string> lines =
        Lines(ConvertReference(test::ReadBytes(kFolder + "/" + sample), table, false));
    // The conversion adds one CR LF to the text, which leaves one empty line at the end.
    EXPECT_EQ(lines.back(), "");
    lines.pop_back();
    return lines;
}

TEST(DefaultDictionaries, EveryDefaultPassesTheCheckAndLoads) {
    std::vector<std::string> names{std::string(kDefaultDicFileName)};
    for (const char* key : {"MIN", "TOP", "LDR", "LPD", "NC"})
        names.emplace_back(DefaultDictionaryFor(key));
    for (const std::string& name : names) {
        const Status check = CheckDictionary(kFolder + "/" + name);
        EXPECT_TRUE(check.ok()) << name << ": " << check.message();
        DictionaryTable table;
        const Status loaded = LoadDictionaryFile(kFolder + "/" + name, table);
        EXPECT_TRUE(loaded.ok()) << name << ": " << loaded.message();
        EXPECT_GT(table.LastIndex, 20) << name;
    }
}

// Lines as real programs hold them: keywords, functions and codes convert, ordinary words of
// comments and names around them stay whole.
TEST(DefaultDictionaries, ConvertCodesWithoutGarblingTheWordsAroundThem) {
    struct Case {
        const char* dictionary;
        const char* line;
        const char* converted;
    };
    const Case cases[] = {
        {"Merlin.dic", "(the subroutine is called elsewhere, returning repeatedly)",
         "(the subroutine is called elsewhere, returning repeatedly)"},
        {"Merlin.dic", "o100 sub", "o100 Subroutine Start"},
        {"Merlin.dic", "O<probe> call [1]", "O<probe> Run Subroutine [1]"},
        {"Merlin.dic", "o<probe>call", "o<probe> Run Subroutine"},
        {"Merlin.dic", "o101 while [#1 LT 3]", "o101 Loop While [#1 LT 3]"},
        {"Merlin.dic", "o<x>     endif", "o<x>     End Of Condition"},
        {"Merlin.dic", "#1=[atan [#2]/[#3]]", "#1=[Arc Tangent [#2]/[#3]]"},
        {"Merlin.dic", "; #3 doc", "; #3 doc"},
        {"Kestrel-ENG.dic", "O100 ENDWHILE", "O100 ENDWHILE"},
        {"Kestrel-ENG.dic", "WHILE [#1 LT 3] DO1", "Loop While [#1 LT 3] Loop 1 Start"},
    };
    for (const Case& c : cases) {
        DictionaryTable table;
        ASSERT_TRUE(LoadDictionaryFile(kFolder + "/" + c.dictionary, table).ok()) << c.dictionary;
        EXPECT_EQ(ConvertReference(c.line, table, false), std::string(c.converted) + "\r\n")
            << c.dictionary << ": " << c.line;
    }
}

// The tool and offset data, the loader program and the loader parameters, line by line.
TEST(SampleConversion, DataSamplesLineByLine) {
    const std::pair<const char*, std::vector<std::string>> samples[] = {
        {"SAMPLE.TOP",
         {"%", "O9001 (OFFSET DATA VMC-3, 2026-11-30)", "Set Tool Length P1 R125.032",
          "Set Tool Length Wear P1 R-0.015", "Set Tool Radius P1 R25.",
          "Set Tool Radius Wear P1 R0.", "Set Tool Length P2 R98.417", "Set Tool Radius P2 R5.",
          "Values Are Added To The Stored Ones Set Tool Length Wear P2 R0.008",
          "Values Replace The Stored Ones", "Set External Work Offset X0. Y0. Z0.",
          "Set First Work Offset X-412.505 Y-203.118 Z-387.22",
          "Set Second Work Offset X-212.505 Y-203.118 Z-387.22",
          "Set Additional Work Offset P1 X-100. Y-50. Z-300.", "Second Work Offset X=-212.505",
          "Second Work Offset Z=First Work Offset Z", "End Of Data, Rewind", "%"}},
        {"SAMPLE.LDR",
         {"%",
          "O5100 (LOADER CYCLE, LATHE 1)",
          "N1 Return To Home Position",
          "N2 Wait For Blank At Pick-up Point",
          "N3 Rapid Traverse X1250. Z-380.",
          "N4 Hand One Close",
          "N5 Check Part In Hand",
          "N6 Rapid Traverse Z0.",
          "N7 Wait For Machine Ready",
          "N8 Machine Door Open",
          "N9 Rapid Traverse X2400.",
          "N10 Z-410. Hand Two Close",
          "N11 Machine Chuck Open Chuck Air Blow On",
          "N12 Dwell P500",
          "N13 Chuck Air Blow Off Hand One Open",
          "N14 Machine Chuck Close",
          "N15 Rapid Traverse Z0.",
          "N16 Machine Door Close Start Machine Cycle",
          "N17 Return To Waiting Position Loader Cycle Complete Signal",
          "N18 Call Loader Subprogram P5110",
          "N19 Return From Subprogram",
          "%"}},
        {"SAMPLE.LPD",
         {"%",
          "(HARRIER LOADER PARAMETERS, LINE 2)",
          "Loader Type P2",
          "Number Of Hands P2",
          "Number Of Machines Served P1",
          "Position Unit (micrometres) P1",
          "Rapid Rate, Travel Axis (mm/min) P60000",
          "Rapid Rate, Vertical Axis (mm/min) P40000",
          "Acceleration Time, Travel Axis (ms) P250",
          "Stroke Limit Plus, Travel Axis P2650000",
          "Stroke Limit Minus, Travel Axis P-5000",
          "Machine One Loading Position, Travel Axis P2400000",
          "Machine One Loading Position, Vertical Axis P-410000",
          "Stocker Pick-up Position, Travel Axis P1250000",
          "Safe Height Above The Machines P0",
          "Hand Close Confirmation Time (ms) P400",
          "Door Open Time-out (ms) P10000",
          "Number Of Stocker Stations P12",
          "Blank Height (micrometres) P45000",
          "%"}},
    };
    for (const auto& [sample, lines] : samples) {
        SCOPED_TRACE(sample);
        EXPECT_EQ(ConvertSample(sample), lines);
    }
}

// The main program sample: its first blocks and one block of each kind of code, line by line.
TEST(SampleConversion, MainProgramBlocks) {
    const std::vector<std::string> lines = ConvertSample("SAMPLE.MIN");
    ASSERT_EQ(lines.size(), 119u);
    EXPECT_EQ(lines[0], "%");
    EXPECT_EQ(lines[9],
              "N10 Metric Input Plane X Y Cutter Compensation Off Tool Length Offset Off Canned "
              "Cycle Off "
              "Absolute Feed Per Minute");
    EXPECT_EQ(lines[10], "N20 Incremental Return To Reference Point Z0.");
    EXPECT_EQ(lines[13], "N100 T01 Tool Change");
    EXPECT_EQ(lines[14],
              "N110 Work Offset 1 Rapid Traverse X-95. Y-20. S1600 Spindle On Clockwise");
    EXPECT_EQ(lines[15], "N120 Tool Length Offset Plus Z50. H01 Coolant On");
    EXPECT_EQ(lines[31], "N350 Cutter Compensation Left D02 X-60. Y-45. F900.");
    EXPECT_EQ(lines[33], "N370 Arc Clockwise X-50. Y40. R10.");
    EXPECT_EQ(lines[46], "N490 Subprogram Call P2207");
    EXPECT_EQ(lines[55], "N630 Return To Retract Level Drilling Cycle Z-3.8 R2. F250.");
    EXPECT_EQ(lines[66], "N730 Return To Retract Level Peck Drilling Cycle Z-24. R2. Q3. F220.");
    EXPECT_EQ(lines[77], "N830 Rigid Tapping Mode S600");
    EXPECT_EQ(lines[78], "N840 Return To Retract Level Tapping Cycle Z-16. R5. F750.");
    EXPECT_EQ(lines[94], "N20 Loop While [#120 LT 2] Loop 1 Start");
    EXPECT_EQ(lines[102], "N100 Arc Counter-clockwise X20. Y0. R10.");
    EXPECT_EQ(lines[115], "N230 Loop 1 End");
    EXPECT_EQ(lines[117], "N250 Subprogram End");
    EXPECT_EQ(lines[118], "%");
}

}  // namespace
}  // namespace qm
