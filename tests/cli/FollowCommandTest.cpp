#include <gtest/gtest.h>

#include "ConverterFixture.h"

namespace qm::test {
namespace {

const std::string kCsvHeader = "line,kind,x,y,z,a,b,c,plane,cx,cy,cz,turns,feed\n";

class FollowCommandTest : public ConverterFixture {
  protected:
    FollowCommandTest()
        : ConverterFixture(
              "0,\"G01\",\"Linear feed\"\r\n0,\"G91\",\"Incremental\"\r\n"
              "0,\"M3\",\"Spindle on\"\r\n") {}
};

// Each command's whole output for a program; "@" stands for the program's path, "$" for the
// path of a subprogram file beside it. The program file is left as it was.
TEST_F(FollowCommandTest, EachCommandPrintsWhatFollowingTheProgramGives) {
    Program("O1234.SUB", "O1234\nG91 G0 X5\nG7.3\nM99\n");
    const struct {
        const char* name;  // of the program file
        std::string text;
        std::vector<std::string> options;
        int exitCode;
        std::string out, err;
    } rows[] = {
        {"P.NC",
         "G20 G0 X1 Y2\nF10 G2 X3 Y2 I1 J0\nG1 Z-1\nM2\n",
         {"--toolpath"},
         0,
         kCsvHeader + "1,rapid,25.4000,50.8000,0.0000,0.0000,0.0000,0.0000,,,,,,\n"
                      "2,arc,76.2000,50.8000,0.0000,0.0000,0.0000,0.0000,XY,50.8000,50.8000,0.0000,"
                      "-1,254.0000\n"
                      "3,feed,76.2000,50.8000,-25.4000,0.0000,0.0000,0.0000,,,,,,254.0000\n",
         ""},
        // Four decimals whatever the number's size or sign.
        {"P.NC",
         "G21 G0 X-12.0305 Y0.0007 Z98765.4321\nG0 X-0.00004 Y1000000 Z0.5\n"
         "G2 X-0.00004 Y1000000 I1 J0 P3 F60.25\nM2\n",
         {"--toolpath"},
         0,
         kCsvHeader +
             "1,rapid,-12.0305,0.0007,98765.4321,0.0000,0.0000,0.0000,,,,,,\n"
             "2,rapid,0.0000,1000000.0000,0.5000,0.0000,0.0000,0.0000,,,,,,\n"
             "3,arc,0.0000,1000000.0000,0.5000,0.0000,0.0000,0.0000,XY,1.0000,1000000.0000,"
             "0.5000,-3,60.2500\n",
         ""},
        // Problems in line order, exit status 4.
        {"P.NC",
         "G0 X1\nG1 X2\nG7.3\n",
         {"--check"},
         4,
         "@:2: a feed move with no feed rate (F)\n@:3: G7.3 is not a G code of rs274ngc\n"
         "@:3: the program does not end with M2 or M30\n",
         ""},
        {"Q.NC", "G0 X1\nM2\n", {"--check"}, 0, "", ""},
        {"P.NC",
         "G21 G0 X0 Y0\nT4 M6\nG1 X100 F1000\nG0 X0\nM2\n",
         {"--summary", "--format", "json", "--rapid", "10000"},
         0,
         "{\"file\":\"@\",\"dialect\":\"rs274ngc\",\"units\":\"mm\",\"lines\":5,\"moves\":3,"
         "\"extents\":{\"X\":[0.0000,100.0000],\"Y\":[0.0000,0.0000],\"Z\":[0.0000,"
         "0.0000]},\"feed_length\":100.0000,\"rapid_length\":100.0000,\"minutes\":"
         "0.1100,\"tools\":[{\"tool\":4,\"first_line\":2}],\"problems\":0}\n",
         ""},
        // A subprogram file beside the program is followed (its own lines) and named in problems.
        {"MAIN.MIN",
         "%\nO1\nG90 G0 X0 Y0\nM98 P1234 L2\nM30\n%\n",
         {"--toolpath"},
         0,
         kCsvHeader + "3,rapid,0.0000,0.0000,0.0000,0.0000,0.0000,0.0000,,,,,,\n"
                      "2,rapid,5.0000,0.0000,0.0000,0.0000,0.0000,0.0000,,,,,,\n"
                      "2,rapid,10.0000,0.0000,0.0000,0.0000,0.0000,0.0000,,,,,,\n",
         ""},
        {"MAIN.MIN",
         "%\nO1\nG90 G0 X0 Y0\nM98 P1234 L2\nM30\n%\n",
         {"--check"},
         4,
         "$:3: G7.3 is not a G code of fanuc\n",
         ""},
        // What could be followed is written, and the reason goes to standard error.
        {"R.NGC",
         "G0 X1\no<r> sub\no<r> call\no<r> endsub\no<r> call\nM2\n",
         {"--toolpath"},
         4,
         kCsvHeader + "1,rapid,1.0000,0.0000,0.0000,0.0000,0.0000,0.0000,,,,,,\n",
         "@:3: calls nested deeper than 64 (a recursion?)\n"},
    };
    const auto named = [&](std::string text, const std::string& program) {
        for (const auto& [mark, path] :
             {std::pair{'@', program}, std::pair{'$', File("O1234.SUB")}}) {
            for (std::size_t at = text.find(mark); at != std::string::npos;
                 at = text.find(mark, at + path.size()))
                text.replace(at, 1, path);
        }
        return text;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        std::vector<std::string> args = row.options;
        const std::string program = Program(row.name, row.text);
        args.push_back(program);
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.exitCode, row.exitCode) << result.err;
        EXPECT_EQ(result.out, named(row.out, program));
        EXPECT_EQ(result.err, named(row.err, program));
        EXPECT_EQ(ReadBytes(program), row.text);
    }
}

TEST_F(FollowCommandTest, TheFileTypeOrDialectOptionChoosesTheReading) {
    const std::string text = "G54.1 P2 G0 X1\nM30\n";
    EXPECT_EQ(Run({"--check", Program("P.MIN", text)}).exitCode, 0);  // Fanuc-style
    EXPECT_EQ(Run({"--check", Program("P.NGC", text)}).exitCode, 4);
    EXPECT_EQ(Run({"--check", "--dialect", "fanuc", File("P.NGC")}).exitCode, 0);
    EXPECT_EQ(Run({"--check", Program("P.TOP", "G7.3\n")}).exitCode, 0);  // data: not followed
}

TEST_F(FollowCommandTest, StateNamesEachGroupWithTheDictionarysComment) {
    const std::string program = Program("P.NC", "G21 G90\nG91 G1 X1 F100\nS1200 M3\nM2\n");
    const auto result = Run({"--state", "3", "-d", dictionary_, program});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const char* row :
         {"motion        G1            Linear feed\n", "distance      G91           Incremental\n",
          "feed mode     G94 F100\n", "spindle       M3 S1200      Spindle on\n",
          "the G28/G30 positions the program does not set are taken as zero)\n"}) {
        EXPECT_THAT(result.out, HasSubstr(row));
    }
    EXPECT_EQ(Run({"--state", "9", "-d", dictionary_, program}).exitCode, 4);
}

}  // namespace
}  // namespace qm::test
