// The window against files that are not what they seem: nothing hangs, nothing is overwritten
// that should not be, and every failure is told.
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>

#include <filesystem>

#include "ConvertCommands.h"
#include "DictionarySlots.h"
#include "LineLimit.h"
#include "ProgramDocuments.h"
#include "WindowFixture.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

class WindowHostileFilesTest : public test::WindowFixture {
  protected:
    void SetUp() override {
        window_.StartUp(QString());
        test::WriteBytes(folder_.File("O1.MIN"), "G00X1.\r\n");
        ASSERT_TRUE(OpenProgramFile(context(), Path("O1.MIN")));
    }
    Context& context() { return window_.context(); }
};

TEST_F(WindowHostileFilesTest, FilesThatCannotBeProgramsAreRefusedWithoutWaiting) {
    fs::create_directory(folder_.File("folder"));
    ASSERT_EQ(::mkfifo(folder_.File("fifo").c_str(), 0644), 0);  // no writer: reading would wait
    fs::create_symlink("loop2", folder_.File("loop1"));
    fs::create_symlink("loop1", folder_.File("loop2"));
    for (const QString& path :
         {Path("folder"), Path("fifo"), QString("/dev/zero"), Path("loop1")}) {
        EXPECT_FALSE(OpenProgramFile(context(), path)) << path.toStdString();
        EXPECT_EQ(services_.messages.back().prompt, path + " Can not open file.");
        EXPECT_EQ(SourceText(), "G00X1.\r\n");
    }
    EXPECT_FALSE(services_.busy);
    EXPECT_TRUE(fs::is_symlink(folder_.File("loop1"))) << "nothing was created in its place";

    // A line the editor would measure for minutes.
    test::WriteBytes(folder_.File("L.MIN"),
                     "G00" + std::string(kMaxWindowLineBytes, 'X') + "\r\nM30\r\n");
    EXPECT_FALSE(OpenProgramFile(context(), Path("L.MIN")));
    EXPECT_TRUE(services_.messages.back().prompt.startsWith(
        Path("L.MIN") + " Can not open file.\r\nA line of it is"));
    EXPECT_EQ(SourceText(), "G00X1.\r\n");

    std::string binary;
    for (int i = 0; i < 256; ++i)
        binary += char(i);
    test::WriteBytes(folder_.File("B.MIN"), binary);
    EXPECT_TRUE(OpenProgramFile(context(), Path("B.MIN")));
}

TEST_F(WindowHostileFilesTest, SavingOverAReadOnlyProgramIsRefused) {
    TypeIntoSource("M30\r\n");
    ASSERT_EQ(::chmod(folder_.File("O1.MIN").c_str(), 0444), 0);  // the superuser too
    services_.AnswerFileDialog(Path("O1.MIN"));
    EXPECT_FALSE(SaveSourceText(context()));
    EXPECT_EQ(services_.messages.back().prompt, Path("O1.MIN") + ": Permission denied");
    EXPECT_EQ(test::ReadBytes(folder_.File("O1.MIN")), "G00X1.\r\n");

    services_.AnswerFileDialog("/dev/full");
    EXPECT_FALSE(SaveSourceText(context()));
    EXPECT_EQ(services_.messages.back().prompt, "/dev/full: No space left on device");
}

TEST_F(WindowHostileFilesTest, DictionaryWithLinesEndingInCarriageReturnAloneIsRefused) {
    test::WriteBytes(folder_.File("Mac.dic"), std::string(kHeader, std::strlen(kHeader) - 2) +
                                                  "\r0,\"G00\",\"FAST\"\r0,\"M30\",\"END\"\r");
    state_.DicFileName = Path("Mac.dic");
    LoadDictionary(context());
    EXPECT_TRUE(services_.messages.back().prompt.contains("end in CR alone"))
        << services_.messages.back().prompt.toStdString();
    EXPECT_EQ(state_.DicFileName, Path("Kestrel.dic")) << "the dictionary in use stays";
    EXPECT_EQ(state_.Dictionary.LastIndex, 0);
}

}  // namespace
}  // namespace qm
