#include <QLabel>
#include <QTimer>

#include "DictionaryFixture.h"
#include "ImportDictionary.h"

namespace qm {
namespace {

class ImportDictionaryTest : public test::DictionaryFixture {
  protected:
    void SetUp() override {
        LoadKestrel("0,\"G00\",\"RAPID\"\r\n0,\"M03\",\"SPINDLE\"\r\n");
        kestrel_ = FileText("Kestrel.dic");
        TypeIntoSource("G01");
        controls_.Timer1->stop();
    }
    ImportDictionary& Import(const QString& path) {
        services_.AnswerFileDialog(path);
        controls_.MenuDicInport->trigger();
        return dialog_;
    }
    ImportDictionary& dialog_ = commands_.importDictionary();
    std::string kestrel_;
};

TEST_F(ImportDictionaryTest, IntoItselfOrFromAHeaderOnlyFileNothingChanges) {
    Import(Path("Kestrel.dic"));
    EXPECT_EQ(services_.fileDialogs[0].filter, "Dic Files(*.dic)|*.dic|All Files(*.*)|*.*");
    EXPECT_TRUE(dialog_.isVisible() && !dialog_.isModal());
    ExpectTexts({{dialog_.Picture1, Path("Kestrel.dic")},
                 {dialog_.Picture2, "2"},
                 {dialog_.Picture3, Path("Kestrel.dic")},
                 {dialog_.Picture4, "2"},
                 {dialog_.Picture5, ""}});
    EXPECT_TRUE(services_.messages.empty());
    EXPECT_EQ(Table(), "G00=RAPID M03=SPINDLE");
    EXPECT_EQ(dialog_.focusWidget(), dialog_.Command1);
    EXPECT_FALSE(services_.busy);

    Import(WriteDic("Empty.dic", ""));
    ExpectTexts({{dialog_.Picture4, ""}, {dialog_.Picture5, ""}});
    EXPECT_EQ(ConvertedText(), "G01\r\n") << "converted all the same";
    EXPECT_TRUE(dialog_.Command1->isEnabled());
}

TEST_F(ImportDictionaryTest, AWordImportedTwiceIsAddedThenQuestionedAndSaveWritesFileOrder) {
    services_.AnswerMessage(MsgResult::Yes);
    Import(WriteDic("Other.dic", "5,\"G01\",\"A\"\r\n6,\"G01\",\"B\"\r\n0,\"G1000\",\"x\"\r\n"));
    ASSERT_EQ(services_.messages.size(), 1u);
    const MessageBoxRequest& ask = services_.messages[0];
    EXPECT_EQ(ask.prompt, "Word : G01\nOld : A\nNew : B\n\nChange to New ?");
    EXPECT_EQ(ask.title, "Comment select ");
    EXPECT_TRUE(ask.buttons == MsgButtons::YesNo && ask.icon == MsgIcon::Question &&
                ask.defaultButton == MsgDefault::Second);
    ExpectTexts({{dialog_.Picture4, "3"}, {dialog_.Picture5, "2"}});
    EXPECT_EQ(ConvertedText(), "B\r\n");

    dialog_.Command1->click();
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(FileText("Kestrel.dic"), std::string(kHeader) +
                                           "0,\"G1000\",\"x\"\r\n0,\"G00\",\"RAPID\"\r\n"
                                           "0,\"M03\",\"SPINDLE\"\r\n5,\"G01\",\"B\"\r\n");
    EXPECT_EQ(Table(), "G00=RAPID M03=SPINDLE G01=B G1000=x")
        << "the merge order stays until the next load";
}

// A cancelled merge is undone whole: nothing of it may reach a later write of another command.
TEST_F(ImportDictionaryTest, CancelDuringTheMergeRestoresTheFilesTable) {
    QTimer::singleShot(0, &dialog_, [&] {
        EXPECT_FALSE(dialog_.Command1->isEnabled());
        dialog_.Command2->click();
        controls_.MenuDicInport->trigger();  // a second import while this one runs is refused
    });
    Import(WriteDic("Other.dic", "0,\"G01\",\"A\"\r\n0,\"G02\",\"C\"\r\n"));
    EXPECT_FALSE(dialog_.isVisible());
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_TRUE(services_.messages[0].prompt.contains("still running"));
    EXPECT_EQ(Table(), "G00=RAPID M03=SPINDLE");
    EXPECT_EQ(FileText("Kestrel.dic"), kestrel_);
    EXPECT_EQ(ConvertedText(), "G01\r\n");
    EXPECT_FALSE(services_.busy);

    Register("X", "x");
    EXPECT_EQ(FileText("Kestrel.dic"), kestrel_ + "0,\"X\",\"x\"\r\n");
}

TEST_F(ImportDictionaryTest, ABadLineAFullTableOrAnotherDictionaryStopsTheMergeAndSaysSo) {
    Import(WriteDic("Bad.dic", "0,\"G01\",\"A\"\r\n<B>,\"G02\",\"C\"\r\n0,\"G03\",\"D\"\r\n"));
    EXPECT_TRUE(dialog_.Label6->text().startsWith(Path("Bad.dic") + ", line 3: "));
    EXPECT_TRUE(dialog_.Label6->text().contains("\"<B>\"")) << "markup shown as written";
    EXPECT_EQ(dialog_.Label6->textFormat(), Qt::PlainText);
    EXPECT_EQ(Table(), "G00=RAPID M03=SPINDLE G01=A");
    EXPECT_FALSE(dialog_.Command1->isEnabled());
    EXPECT_FALSE(services_.busy);

    FillTable();
    Import(WriteDic("Other.dic", "0,\"M03\",\"SPINDLE\"\r\n0,\"NEW\",\"x\"\r\n"));
    EXPECT_TRUE(dialog_.Label6->text().contains("full")) << dialog_.Label6->text().toStdString();
    EXPECT_TRUE(dialog_.Label6->text().contains("\"NEW\""));
    EXPECT_EQ(state_.Dictionary.LastIndex, kDictionarySlots - 1);
    EXPECT_FALSE(dialog_.Command1->isEnabled());

    services_.AnswerFileDialog(WriteDic("Other.dic", "0,\"G01\",\"A\"\r\n"));
    services_.AnswerFileDialog(WriteDic("Lathe.dic", "0,\"T01\",\"tool\"\r\n"));
    QTimer::singleShot(0, &window_, [&] { controls_.MenuDicSelect->trigger(); });
    controls_.MenuDicInport->trigger();
    EXPECT_EQ(Table(), "T01=tool") << "nothing went into the dictionary chosen meanwhile";
    EXPECT_TRUE(dialog_.Label6->text().contains("changed"));
}

// The euro sign is not in the Shift-JIS dictionary's code page: writing the merged table fails.
TEST_F(ImportDictionaryTest, FailedSaveIsToldAndACancelledMergeNeverReachesALaterWrite) {
    LoadKestrel(
        "0,\"G00\",\"RAPID\"\r\n0,\"M03\",\"\x8E\xE5\x8E\xB2\"\r\n");  // "主軸" in Shift-JIS
    kestrel_ = FileText("Kestrel.dic");
    const QString euro = WriteDic("Euro.dic", "0,\"G01\",\"5 €\"\r\n");
    services_.AnswerMessage(MsgResult::No);  // not into UTF-8
    Import(euro).Command1->click();
    ASSERT_EQ(services_.messages.size(), 2u);
    EXPECT_TRUE(services_.messages[0].prompt.startsWith(Path("Kestrel.dic") + ": "));
    EXPECT_EQ(FileText("Kestrel.dic"), kestrel_);
    EXPECT_EQ(Table(), "G00=RAPID M03=主軸");

    Import(euro).Command2->click();
    Delete("G00");
    EXPECT_EQ(services_.messages.size(), 2u) << "the deletion writes without the euro sign";
    EXPECT_EQ(Table(), "M03=主軸");
    EXPECT_EQ(FileText("Kestrel.dic"), std::string(kHeader) + "0,\"M03\",\"\x8E\xE5\x8E\xB2\"\r\n");
}

}  // namespace
}  // namespace qm
