#include <sys/stat.h>

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

#include "DictionaryFixture.h"

namespace qm {
namespace {

class WordRegistrationTest : public test::DictionaryFixture {
  protected:
    void SetUp() override {
        TypeIntoSource("G00X1.");
        controls_.Timer1->stop();
    }
    Form2& Open() {
        controls_.MenuDicWord->trigger();
        return form_;
    }
    Form2& form_ = commands_.form2();
};

TEST_F(WordRegistrationTest, OpensModalWithTheSelectedWordAndEnterMovesTheFocus) {
    SourceWindow& source = window_.context().documents.OriginalFile();
    window_.mdiArea().setActiveSubWindow(window_.mdiArea().subWindowList().back());
    source.Text1().SendScintilla(QsciScintillaBase::SCI_SETSEL, 0ul, 3l);
    Open();
    EXPECT_TRUE(form_.isVisible() && form_.isModal());
    EXPECT_EQ(form_.windowTitle(), "Word registration " + Path("Kestrel.dic"));
    ExpectTexts({{form_.Label4, "1"}, {form_.Text1, "G00"}, {form_.Text2, "RAPID"}});
    EXPECT_TRUE(form_.Command1->isEnabled() && services_.busy);
    form_.Command2->click();
    EXPECT_FALSE(form_.isVisible() || services_.busy);

    source.Text1().SendScintilla(QsciScintillaBase::SCI_SETSEL, 1ul, 1l);  // nothing selected
    Open();
    EXPECT_EQ(form_.Text1->text(), "");
    EXPECT_FALSE(form_.Command1->isEnabled());
    form_.Text1->setText("G01");
    PressEnter(form_.Text1);
    EXPECT_EQ(form_.focusWidget(), form_.Text2);
    form_.Text2->setText("Cut");
    PressEnter(form_.Text2);
    EXPECT_EQ(form_.focusWidget(), form_.Command1);
    PressEnter(form_.Command1);
    EXPECT_EQ(Table(), "G00=RAPID G01=Cut");
    form_.Text2->setText("x");
    PressEnter(form_.Text2);  // the word box is empty
    EXPECT_EQ(form_.focusWidget(), form_.Text1);
}

TEST_F(WordRegistrationTest, NewWordsAreWrittenAndReadBackInFileOrderWithoutConverting) {
    Open();
    form_.Text1->setText("X");
    EXPECT_FALSE(form_.Command1->isEnabled());
    for (const auto& [word, comment] : {std::pair{"X", ""}, {"G01", "Cut"}, {"g00", "lower"}})
        Register(word, comment);
    EXPECT_TRUE(services_.messages.empty()) << "g00 is not G00; an erased comment registers empty";
    EXPECT_EQ(FileText("Kestrel.dic"), std::string(kHeader) +
                                           "0,\"G00\",\"RAPID\"\r\n0,\"G01\",\"Cut\"\r\n"
                                           "0,\"g00\",\"lower\"\r\n0,\"X\",\"\"\r\n");
    EXPECT_EQ(Table(), "G00=RAPID G01=Cut g00=lower X=");
    ExpectTexts({{form_.Label4, "4"}, {form_.Text1, ""}, {form_.Text2, ""}});
    EXPECT_FALSE(form_.Command1->isEnabled());
    EXPECT_EQ(ConvertedText(), "");
    EXPECT_FALSE(services_.busy);

    services_.AnswerFileDialog(Path("Empty.dic"));
    controls_.MenuDicCreate->trigger();
    EXPECT_EQ(Open().Label4->text(), "0");
    Register("G00", "Rapid");
    EXPECT_EQ(FileText("Empty.dic"), std::string(kHeader) + "0,\"G00\",\"Rapid\"\r\n");
    EXPECT_EQ(form_.Label4->text(), "1");
}

TEST_F(WordRegistrationTest, ExistingWordIsOverwrittenOnlyOnYes) {
    LoadKestrel("7,\"G00\",\"RAPID\"\r\n3,\"M03\",\"Spindle\"\r\n");
    Open();
    services_.AnswerMessage(MsgResult::No);
    Register("M03", "Spin");
    ASSERT_EQ(services_.messages.size(), 1u);
    const MessageBoxRequest& ask = services_.messages[0];
    EXPECT_EQ(ask.prompt, "すでに登録済みです。重ね書きをしますか？");
    EXPECT_EQ(ask.title, "単語登録確認");
    EXPECT_TRUE(ask.buttons == MsgButtons::YesNo && ask.icon == MsgIcon::None &&
                ask.defaultButton == MsgDefault::First);
    EXPECT_EQ(form_.Text2->text(), "Spin");
    EXPECT_TRUE(form_.Command1->isEnabled());
    EXPECT_EQ(Table(), "G00=RAPID M03=Spindle");

    services_.AnswerMessage(MsgResult::Yes);
    form_.Command1->click();
    EXPECT_EQ(FileText("Kestrel.dic"),
              std::string(kHeader) + "7,\"G00\",\"RAPID\"\r\n0,\"M03\",\"Spin\"\r\n");
    EXPECT_EQ(form_.Label4->text(), "2");
}

TEST_F(WordRegistrationTest, RefusesAQuoteAFullTableAndToldOfAFailedWrite) {
    LoadKestrel("0,\"G00\",\"\x8E\xE5\x8E\xB2\"\r\n");  // "主軸" in Shift-JIS
    const std::string before = FileText("Kestrel.dic");
    Open();
    Register("G01", "say \"hi\"");
    EXPECT_TRUE(services_.messages.back().prompt.contains("double quote"));
    EXPECT_EQ(Table(), "G00=主軸");

    services_.AnswerMessage(MsgResult::No);  // not into UTF-8
    Register("G01", "5€");  // the Shift-JIS dictionary's code page has no euro sign
    const QString offer = services_.messages[services_.messages.size() - 2].prompt;
    EXPECT_TRUE(offer.startsWith(Path("Kestrel.dic") + ": ")) << offer.toStdString();
    EXPECT_TRUE(offer.contains("cannot be written in Shift-JIS"));
    EXPECT_TRUE(offer.contains("Convert the dictionary to UTF-8"));
    EXPECT_TRUE(services_.messages.back().prompt.contains("not saved"));
    EXPECT_EQ(FileText("Kestrel.dic"), before);
    EXPECT_EQ(Table(), "G00=主軸") << "read back from the file";
    EXPECT_EQ(form_.Text2->text(), "5€");
    EXPECT_FALSE(services_.busy);

    ASSERT_EQ(::chmod(folder_.File("Kestrel.dic").c_str(), 0444), 0);  // the superuser too
    Register("G01", "Feed");
    EXPECT_TRUE(
        services_.messages.back().prompt.startsWith(Path("Kestrel.dic") + ": Permission denied"))
        << services_.messages.back().prompt.toStdString();
    EXPECT_EQ(Table(), "G00=主軸") << "read back from the file";

    FillTable();
    Register("NEW", "c");
    EXPECT_TRUE(services_.messages.back().prompt.contains("10001 words"));
    EXPECT_EQ(state_.Dictionary.LastIndex, kDictionarySlots - 1);
    EXPECT_EQ(services_.messages.size(), 5u);
    EXPECT_EQ(FileText("Kestrel.dic"), before);
}

// A dictionary given characters Shift-JIS lacks becomes UTF-8: at once when it is plain ASCII,
// when asked when it is Shift-JIS, its Japanese comments kept.
TEST_F(WordRegistrationTest, MachiningCharactersTurnTheDictionaryIntoUtf8) {
    const struct {
        const char* kestrel;
        std::size_t questions;
        const char* kept;
    } cases[] = {{"0,\"G00\",\"RAPID\"\r\n", 0, "RAPID"},
                 {"0,\"G00\",\"\x8E\xE5\x8E\xB2\"\r\n", 1, "主軸"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kept);
        LoadKestrel(c.kestrel);
        services_.messages.clear();
        if (c.questions > 0)
            services_.AnswerMessage(MsgResult::Yes);
        Register("T10", "Ø10 DRILL µm");
        EXPECT_EQ(services_.messages.size(), c.questions) << "asked, and nothing more to say";
        EXPECT_EQ(FileText("Kestrel.dic"), std::string(kHeader) + "0,\"G00\",\"" + c.kept +
                                               "\"\r\n0,\"T10\",\"Ø10 DRILL µm\"\r\n");
        EXPECT_EQ(Table(), "G00=" + std::string(c.kept) + " T10=Ø10 DRILL µm");
        Register("T11", "µm");  // UTF-8 from now on: no second question
        EXPECT_EQ(services_.messages.size(), c.questions);
        EXPECT_TRUE(services_.AllAnswersUsed());
    }
}

// Kestrel.dic is of another version: no dictionary is loaded and DicFileName names that file.
class NoDictionaryTest : public test::DictionaryFixture {
  protected:
    NoDictionaryTest()
        : DictionaryFixture("Translator Dictionary  Ver.1.0  Hollowmere\r\n0,\"G00\",\"OLD\"\r\n") {
    }
};

TEST_F(NoDictionaryTest, WordDialogsRefuseToOpenAndWriteNothing) {
    const std::string before = FileText("Kestrel.dic");
    for (QAction* item :
         {controls_.MenuDicWord, controls_.MenuDicDelete, controls_.MenuDicInport}) {
        services_.messages.clear();
        item->trigger();  // the import asks for no file either: an unscripted dialog would throw
        ASSERT_EQ(services_.messages.size(), 1u) << item->objectName().toStdString();
        EXPECT_TRUE(services_.messages[0].prompt.startsWith("No dictionary is loaded"));
    }
    EXPECT_FALSE(commands_.form2().isVisible() || commands_.form3().isVisible());
    EXPECT_EQ(FileText("Kestrel.dic"), before);
}

}  // namespace
}  // namespace qm
