#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

#include <filesystem>

#include "DictionarySlots.h"
#include "OutputFixture.h"
#include "PrintSettingDialog.h"
#include "PrinterDialog.h"
#include "ProgramDocuments.h"
#include "SaveCommand.h"

namespace qm {
namespace {

using OutputCommandsTest = test::OutputFixture;

TEST_F(OutputCommandsTest, SaveWritesWhatTheWindowsHoldAndRemembersTheFolders) {
    std::filesystem::create_directories(folder_.path() / "src");
    std::filesystem::create_directories(folder_.path() / "out");
    state_.SourceChanged = 1;
    state_.ProgramFileName = Path("PART.NC");
    Save(Path("src/PART.NC"), Path("out/PART.txt"));
    Save(Path("src/PART.NC"), Path("out/PART.txt"));  // the source is still taken as edited
    const QString source = "Change origin file. Do you want save ?",
                  converted = "Do you want comment file save ?";
    EXPECT_EQ(Prompts(), (QStringList{source, converted, source, converted}));
    EXPECT_EQ(test::ReadBytes(folder_.File("src/PART.NC")), "G00\r\nM30");  // exactly 8 bytes
    EXPECT_EQ(test::ReadBytes(folder_.File("out/PART.txt")), "Rapid\r\nM30\r\n");
    EXPECT_EQ(services_.fileDialogs[1].initialFile, Path("PART.txt"));
    // The dialogs start at home while the folders hold their default, then where the user went.
    EXPECT_EQ(services_.fileDialogs[0].initialFolder, QDir::homePath());
    EXPECT_EQ(services_.fileDialogs[1].initialFolder, QDir::homePath());
    EXPECT_EQ(services_.fileDialogs[2].initialFolder, Path("src"));
    EXPECT_EQ(services_.fileDialogs[3].initialFolder, Path("out"));
    EXPECT_EQ(state_.OpenPathName, Path("src"));
    EXPECT_EQ(state_.SavePathName, Path("out"));
}

TEST_F(OutputCommandsTest, SaveAsksOnlyWhatItMustAndStopsWhenCancelled) {
    state_.SourceChanged = 0;
    services_.AnswerMessage(MsgResult::No);
    controls_.MenuFileSave->trigger();
    EXPECT_EQ(Prompts(), QStringList{"Do you want comment file save ?"});
    EXPECT_TRUE(services_.fileDialogs.empty());

    state_.SourceChanged = 1;
    services_.AnswerMessage(MsgResult::Yes);
    services_.AnswerFileDialog(std::nullopt);
    controls_.MenuFileSave->trigger();
    EXPECT_EQ(Prompts().size(), 2);  // no comment-file question after a cancelled dialog
}

TEST_F(OutputCommandsTest, FailedWriteIsReportedWithThePath) {
    services_.AnswerMessage(MsgResult::Yes);
    services_.AnswerFileDialog(QString::fromStdString(folder_.path().string()));  // a folder
    controls_.MenuFileSave->trigger();
    EXPECT_TRUE(Prompts().last().contains("is a folder")) << Prompts().last().toStdString();
}

TEST(ConvertedFileName, ReplacesTheExtensionOfTheFileName) {
    EXPECT_EQ(ConvertedFileName("/nc/O1234.MIN"), "/nc/O1234.txt");
    EXPECT_EQ(ConvertedFileName("PART.NC"), "PART.txt");
    EXPECT_EQ(ConvertedFileName("New.min"), "New.txt");
    EXPECT_EQ(ConvertedFileName("/nc.v2/PART"), "/nc.v2/PART.txt");
    EXPECT_EQ(ConvertedFileName("P"), "P.txt");
}

// A plain-ASCII program's converted text is UTF-8 whatever the dictionary's encoding; a
// Shift-JIS program's stays Shift-JIS.
TEST_F(OutputCommandsTest, ConvertedTextIsSavedInUtf8ForAPlainAsciiProgram) {
    test::WriteBytes(folder_.File("Kestrel.dic"),
                     std::string(kHeader) + "0,\"G00\",\"\x8E\xE5\x8E\xB2\"\r\n");
    test::WriteBytes(folder_.File("ascii.NC"), "G00\r\n");
    test::WriteBytes(folder_.File("sjis.NC"), "G00 (\x8E\xE5)\r\n");
    for (const char* name : {"ascii.NC", "sjis.NC"}) {
        ASSERT_TRUE(OpenProgramFile(context(), Path(name)));
        state_.DicFileName = Path("Kestrel.dic");
        LoadDictionary(context());
        controls_.MenuRunStart->trigger();
        state_.SourceChanged = 0;
        Save(QString(), Path(name) + ".txt");
    }
    EXPECT_EQ(test::ReadBytes(folder_.File("ascii.NC.txt")),
              "\xE4\xB8\xBB\xE8\xBB\xB8\r\n\r\n");  // UTF-8
    EXPECT_EQ(test::ReadBytes(folder_.File("sjis.NC.txt")), "\x8E\xE5\x8E\xB2 (\x8E\xE5)\r\n\r\n");
    EXPECT_TRUE(Prompts().filter("written").isEmpty()) << Prompts().join("|").toStdString();
}

TEST_F(OutputCommandsTest, PrintDialogEnablesColumnsForOneTextAndKeepsItsChoices) {
    controls_.MenuFilePrint->trigger();
    EXPECT_EQ(services_.modalDialogs, std::vector<QString>{"Printer1"});
    PrinterDialog& dialog = output_->Printer1();
    EXPECT_TRUE(dialog.Option1->isChecked());
    EXPECT_TRUE(dialog.Option4->isChecked());
    EXPECT_FALSE(dialog.Frame2->isEnabled());
    dialog.Option3->click();
    EXPECT_TRUE(dialog.Frame2->isEnabled());
    dialog.Option5->click();
    dialog.Option1->click();
    EXPECT_FALSE(dialog.Option5->isEnabled());
    EXPECT_TRUE(dialog.Option5->isChecked());
    dialog.Option3->click();
    dialog.CancelButton_Click();
    controls_.MenuFilePrint->trigger();
    EXPECT_EQ(dialog.Choice().data, PrintChoice::Data::ConvertedOnly);
    EXPECT_EQ(dialog.Choice().columns, 2);
}

TEST_F(OutputCommandsTest, PrintSettingsMarginsOnOkFontAndOrientationAtOnce) {
    state_.LeftMerge = 10;
    controls_.MenuPrintSetup->trigger();
    PrintSettingDialog& dialog = output_->PrintSetting();
    EXPECT_EQ(dialog.Text1().text(), "10");
    EXPECT_EQ(dialog.Text2().text(), "0");
    services_.AnswerFont(QFont("Courier", 11));
    dialog.Command2_Click();
    services_.AnswerPrinterSetup(2);
    dialog.Command1_Click();
    dialog.Text1().setText("25");
    dialog.Command4_Click();  // Cancel: the margins stay, font and orientation are in force
    EXPECT_EQ(state_.LeftMerge, 10);
    EXPECT_EQ(state_.PrintFontName, "Courier");
    EXPECT_EQ(state_.PrintFontSize, 11);
    EXPECT_EQ(state_.PrinterOrientation, 2);
    controls_.MenuPrintSetup->trigger();
    dialog.Text1().setText("7.5");
    dialog.Text2().setText("abc");
    dialog.Command3_Click();
    EXPECT_EQ(state_.LeftMerge, 8);
    EXPECT_EQ(state_.RightMerge, 0);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(OutputCommandsTest, PreviewShowsThePagesWithoutPrinting) {
    controls_.MenuFilePrint->trigger();
    output_->Printer1().PreviewButton_Click();
    EXPECT_EQ(services_.modalDialogs, (std::vector<QString>{"Printer1", "PrintPreview"}));
    EXPECT_EQ(state_.PrintPageNo, 1);              // the preview laid out the first page
    EXPECT_TRUE(output_->Printer1().isVisible());  // back to the print dialog afterwards
}

}  // namespace
}  // namespace qm
