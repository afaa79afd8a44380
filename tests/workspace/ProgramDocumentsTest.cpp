#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <QAction>
#include <QDir>
#include <QFileInfo>

#include "ConvertCommands.h"
#include "LineLimit.h"
#include "ProgramDocuments.h"
#include "WindowFixture.h"

namespace qm {
namespace {

class ProgramDocumentsTest : public test::WindowFixture {
  protected:
    void SetUp() override {
        window_.StartUp(QString());
        test::WriteBytes(folder_.File("O1.MIN"), "G00X1.\r\n");
    }
    QString RecentItem(int n) { return controls_.mnuFileRecentFile[n - 1]->text(); }
};

TEST_F(ProgramDocumentsTest, OpenReadsSelectsDictionaryConvertsAndRemembers) {
    services_.AnswerFileDialog(std::nullopt);  // cancelled
    MenuFileOpen_Click(context());
    EXPECT_EQ(state_.RealTimeConvert, 1);
    ASSERT_EQ(state_.OpenPathName, QDir::rootPath());
    const QString folder = Folder();
    services_.AnswerFileDialog(folder);
    MenuFileOpen_Click(context());
    EXPECT_EQ(services_.messages.back().prompt, folder + " Can not open file.");
    EXPECT_EQ(services_.messages.back().title, "");

    WriteDic("Kestrel-ENG.dic", "0,\"G00\",\"FAST\"\r\n");
    services_.AnswerFileDialog(Path("O1.MIN"));
    MenuFileOpen_Click(context());
    EXPECT_EQ(SourceText(), "G00X1.\r\n");
    EXPECT_EQ(ConvertedText(), "FastX1.\r\n\r\n");
    EXPECT_EQ(state_.ProgramFileName, Path("O1.MIN"));
    EXPECT_EQ(state_.OpenPathName, folder);
    EXPECT_EQ(state_.SourceChanged, 0);
    EXPECT_EQ(RecentItem(1), Path("O1.MIN"));
    EXPECT_TRUE(controls_.mnuFileRecentFile[0]->isVisible());
    EXPECT_EQ(services_.fileDialogs.back().filter, "All Files(*.*)|*.*|Main Files(*.MIN)|*.min");
    // Mended: the flag goes back to what the check mark says.
    EXPECT_EQ(state_.RealTimeConvert, 1);
    EXPECT_FALSE(controls_.Timer1->isActive());

    // The dialog starts at home while OpenPathName holds its default, then where the last
    // program was opened from, which is kept.
    services_.AnswerFileDialog(std::nullopt);
    MenuFileOpen_Click(context());
    EXPECT_EQ(services_.fileDialogs[0].initialFolder, QDir::homePath());
    EXPECT_EQ(services_.fileDialogs[1].initialFolder, QDir::homePath());
    EXPECT_EQ(services_.fileDialogs[3].initialFolder, folder);
    window_.SaveData();
    EXPECT_EQ(settings_.GetSetting("OpenPathName", ""), folder);
}

TEST_F(ProgramDocumentsTest, OpensReadOnlyFilesAndCreatesMissingOnes) {
    ASSERT_EQ(::chmod(folder_.File("O1.MIN").c_str(), 0444), 0);
    EXPECT_TRUE(OpenProgramFile(context(), Path("O1.MIN")));
    EXPECT_EQ(SourceText(), "G00X1.\r\n");
    EXPECT_TRUE(OpenProgramFile(context(), Path("NEW.MIN")));
    EXPECT_EQ(SourceText(), "");
    EXPECT_TRUE(QFileInfo::exists(Path("NEW.MIN")));
}

TEST_F(ProgramDocumentsTest, CaptionIsThePathAsItIsShortenedFromSixtyCharacters) {
    const QString path59 = "/nc/" + QString(51, 'a') + ".min";
    const QString path60 = "/nc/" + QString(52, 'a') + ".min";
    EXPECT_EQ(SourceCaption(path59), path59);
    EXPECT_EQ(SourceCaption(path60),
              "/nc/" + QString(16, 'a') + "....." + QString(21, 'a') + ".min");
    ASSERT_TRUE(OpenProgramFile(context(), Path("Part.Min")));
    EXPECT_EQ(context().documents.OriginalFile().windowTitle(), SourceCaption(Path("Part.Min")));
}

TEST_F(ProgramDocumentsTest, RecentListShiftsKeepsDuplicatesAndHidesPlaceholders) {
    AddRecentFile(context(), "/a.MIN");
    AddRecentFile(context(), "/a.MIN");
    EXPECT_EQ(RecentItem(1), "/a.MIN");
    EXPECT_EQ(RecentItem(2), "/a.MIN");
    EXPECT_EQ(RecentItem(3), "RecentFile1");
    EXPECT_FALSE(controls_.mnuFileRecentFile[2]->isVisible());
    for (const char* path : {"/b", "/c", "/d", "/e"})
        AddRecentFile(context(), path);
    EXPECT_EQ(RecentItem(1), "/e");
    EXPECT_EQ(RecentItem(5), "/a.MIN");  // the oldest pushed out of entry 5
    for (QAction* item : controls_.mnuFileRecentFile)
        EXPECT_TRUE(item->isVisible());
}

TEST_F(ProgramDocumentsTest, RecentItemsShowShortenedPathsAndReopenTheWholeOne) {
    const std::string deep = std::string(40, 'd') + "/Parts";
    std::filesystem::create_directories(folder_.path() / deep);
    test::WriteBytes(folder_.File(deep + "/O1.MIN"), "G00X1.\r\n");
    const QString path = Path(deep + "/O1.MIN");
    AddRecentFile(context(), path);
    AddRecentFile(context(), "/a.MIN");
    QAction& item = *controls_.mnuFileRecentFile[1];
    EXPECT_EQ(item.text(), SourceCaption(path));
    EXPECT_EQ(controls_.mnuFileRecentFile[0]->text(), "/a.MIN");
    item.trigger();
    EXPECT_EQ(state_.ProgramFileName, path);
    EXPECT_EQ(SourceText(), "G00X1.\r\n");
    window_.SaveData();
    EXPECT_EQ(settings_.GetSetting("RecentFile2", ""), path);

    AddRecentFile(context(), "/nc/Tools & Parts/O2.MIN");  // "&" is shown, not taken as a shortcut
    EXPECT_EQ(RecentItem(1), "/nc/Tools && Parts/O2.MIN");
}

TEST_F(ProgramDocumentsTest, ReopenConvertsAtOnceEvenWithRealTimeConversionOff) {
    AddRecentFile(context(), Path("O1.MIN"));
    controls_.MenuRunLine->trigger();  // real-time off
    ASSERT_EQ(state_.RealTimeConvert, 0);
    controls_.mnuFileRecentFile[0]->trigger();
    EXPECT_EQ(ConvertedText(), "RapidX1.\r\n\r\n");
    EXPECT_EQ(state_.SourceChanged, 0);
    EXPECT_EQ(state_.RealTimeConvert, 0);
}

TEST_F(ProgramDocumentsTest, NewEmptiesBothWindowsAndKeepsTheProgramName) {
    ASSERT_TRUE(OpenProgramFile(context(), Path("O1.MIN")));
    state_.SourceChanged = 0;
    ConvertProgram(context());
    controls_.MenuRunLine->trigger();
    controls_.MenuFileNew->trigger();
    EXPECT_EQ(SourceText(), "");
    EXPECT_EQ(ConvertedText(), "");
    EXPECT_EQ(state_.ProgramFileName, Path("O1.MIN"));
    EXPECT_EQ(context().documents.OriginalFile().windowTitle(), "New");
    EXPECT_TRUE(controls_.MenuRunLine->isChecked());
    EXPECT_EQ(state_.RealTimeConvert, 1);
    EXPECT_EQ(state_.SourceChanged, 0);  // an empty window has nothing to save over the program
}

// ---- Files that are not what they seem: nothing hangs, nothing is overwritten that should
// not be, and every failure is told.

TEST_F(ProgramDocumentsTest, FilesThatCannotBeProgramsAreRefusedWithoutWaiting) {
    ASSERT_TRUE(OpenProgramFile(context(), Path("O1.MIN")));
    std::filesystem::create_directory(folder_.File("folder"));
    ASSERT_EQ(::mkfifo(folder_.File("fifo").c_str(), 0644), 0);  // no writer: reading would wait
    std::filesystem::create_symlink("loop2", folder_.File("loop1"));
    std::filesystem::create_symlink("loop1", folder_.File("loop2"));
    for (const QString& path :
         {Path("folder"), Path("fifo"), QString("/dev/zero"), Path("loop1")}) {
        EXPECT_FALSE(OpenProgramFile(context(), path)) << path.toStdString();
        EXPECT_EQ(services_.messages.back().prompt, path + " Can not open file.");
        EXPECT_EQ(SourceText(), "G00X1.\r\n");
    }
    EXPECT_FALSE(services_.busy);
    EXPECT_TRUE(std::filesystem::is_symlink(folder_.File("loop1")))
        << "nothing was created in its place";

    // A line the editor would measure for minutes.
    test::WriteBytes(folder_.File("L.MIN"),
                     "G00" + std::string(kMaxWindowLineBytes, 'X') + "\r\nM30\r\n");
    EXPECT_FALSE(OpenProgramFile(context(), Path("L.MIN")));
    EXPECT_TRUE(services_.messages.back().prompt.startsWith(
        Path("L.MIN") + " Can not open file.\r\nA line of it is"));
    EXPECT_EQ(SourceText(), "G00X1.\r\n");
}

TEST_F(ProgramDocumentsTest, SavingOverAReadOnlyProgramIsRefused) {
    ASSERT_TRUE(OpenProgramFile(context(), Path("O1.MIN")));
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

}  // namespace
}  // namespace qm
