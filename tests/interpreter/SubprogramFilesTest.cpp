#include <filesystem>

#include "FollowFixture.h"
#include "SubprogramFiles.h"
#include "TempFolder.h"

namespace qm::test {
namespace {

using interp::Dialect;

struct FileCase {
    Dialect dialect;
    // Name in the program's folder and text; "" text makes a folder.
    std::vector<std::pair<const char*, const char*>> files;
    const char* program;
    std::vector<double> xs;  // the X every move ends at
    const char* problem;     // "LINE: reason" of the first problem; "" for none
};

class SubprogramFilesTest : public FollowFixture {};

TEST_F(SubprogramFilesTest, CallsFindTheirFilesBesideTheProgramAndNowhereElse) {
    const FileCase cases[] = {
        {Dialect::Rs274ngc,
         {{"frame.ngc", "o<frame> sub\nG0 X#1\no<frame> endsub\nM2\n"}},
         "o<Frame> call [3]\nG0 X1\nM2\n",
         {3, 1},
         ""},
        {Dialect::Fanuc, {{"O0012", "%\nO0012\nG0 X5\nM99\n%\n"}}, "O1\nM98 P12\nM30\n", {5}, ""},
        {Dialect::Fanuc, {{"O77.SUB", "O77\nG0 X6\nM99\n"}}, "M98 P77 L2\nM30\n", {6, 6}, ""},
        {Dialect::Fanuc,
         {{"O9001.MIN", "O9001\nG0 X[#24+#1]\nM99\n"}},
         "G65 P9001 X2 A3\nM30\n",
         {5},
         ""},
        {Dialect::Fanuc, {{"O0013", ""}}, "M98 P13\nM30\n", {}, "1: O0013 is not a regular file"},
        {Dialect::Rs274ngc,
         {{"../passwd.ngc", "o<../passwd> sub\nG0 X9\no<../passwd> endsub\n"}},
         "o<../passwd> call\nM2\n",
         {},
         "1: no subroutine o<../PASSWD> in the program nor a file ../passwd.ngc beside it"},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.program);
        TempFolder folder;
        const std::filesystem::path programs = folder.path() / "programs";
        std::filesystem::create_directory(programs);
        for (const auto& [name, text] : c.files) {
            if (*text == '\0')
                std::filesystem::create_directory(programs / name);
            else
                WriteBytes((programs / name).string(), text);
        }
        interp::FolderSubprograms files(programs, {});
        const auto result = interp::FollowProgram(c.program, c.dialect, &files);
        EXPECT_EQ(Xs(result), c.xs);
        const auto reasons = Reasons(result);
        EXPECT_EQ(reasons.empty() ? "" : reasons.front(), c.problem);
    }
}

TEST_F(SubprogramFilesTest, MovesOfAFileTakeTheLineOfTheCallInTheProgram) {
    TempFolder folder;
    WriteBytes((folder.path() / "frame.ngc").string(),
               "o<frame> sub\nG0 X#1\no<frame> endsub\nM2\n");
    interp::FolderSubprograms files(folder.path(), {});
    const auto result = interp::FollowProgram("G0 X1\nG0 X2\no<frame> call [3]\nG0 X4\nM2\n",
                                              Dialect::Rs274ngc, &files);
    std::vector<std::uint32_t> shown, own;
    for (const interp::Move& move : result.Moves()) {
        shown.push_back(move.ShownLine());
        own.push_back(move.line);
    }
    EXPECT_EQ(shown, (std::vector<std::uint32_t>{1, 2, 3, 4}));
    EXPECT_EQ(own,
              (std::vector<std::uint32_t>{1, 2, 2, 4}));  // the file's line, as LinuxCNC tells it
}

}  // namespace
}  // namespace qm::test
