#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "DictionaryFixture.h"
#include "WordDelete.h"
#include "WordSearch.h"

namespace qm {
namespace {

class WordDeleteTest : public test::DictionaryFixture {
  protected:
    Form3& Open() {
        controls_.MenuDicDelete->trigger();
        return commands_.form3();
    }
};

TEST_F(WordDeleteTest, FindsWholeWordsOnlyAndDeletesTheOnlyWordWithoutAsking) {
    Form3& form = Open();
    EXPECT_TRUE(form.isVisible() && form.isModal());
    EXPECT_EQ(form.windowTitle(), "Word delete " + Path("Kestrel.dic"));
    EXPECT_EQ(form.Label5->text(), "1");
    for (const char* text : {"G", "G0", "G000"}) {
        form.Text1->setText(text);
        PressEnter(form.Text1);
        EXPECT_EQ(form.Label4->text(), "");
        EXPECT_FALSE(form.Command1->isEnabled());
        EXPECT_EQ(form.focusWidget(), form.Text1);
    }
    form.Text1->setText("G00");
    EXPECT_EQ(form.Label4->text(), "RAPID");
    PressEnter(form.Text1);
    EXPECT_EQ(form.focusWidget(), form.Command1);
    PressEnter(form.Command1);
    EXPECT_TRUE(services_.messages.empty());
    EXPECT_EQ(FileText("Kestrel.dic"), kHeader);
    ExpectTexts({{form.Label5, "0"}, {form.Text1, ""}, {form.Label4, ""}});
    EXPECT_FALSE(form.Command1->isEnabled());
    EXPECT_EQ(form.focusWidget(), form.Text1);
    form.Command2->click();
    EXPECT_FALSE(services_.busy);
}

TEST_F(WordDeleteTest, OfTwoEqualWordsTheFirstGoesAndACommentLikeMarkupShowsAsWritten) {
    LoadKestrel("1,\"G00\",\"first\"\r\n2,\"M03\",\"spin\"\r\n3,\"G00\",\"<B> second\"\r\n");
    Form3& form = Open();
    Delete("G00");
    EXPECT_EQ(FileText("Kestrel.dic"),
              std::string(kHeader) + "2,\"M03\",\"spin\"\r\n3,\"G00\",\"<B> second\"\r\n");
    form.Text1->setText("G00");
    EXPECT_EQ(form.Label4->text(), "<B> second");
    EXPECT_EQ(form.Label4->textFormat(), Qt::PlainText);
}

TEST_F(WordDeleteTest, WordSearchOpensFreshFromTheToolbarAndRebuildsAtEveryChange) {
    LoadKestrel("0,\"G00\",\"Rapid move\"\r\n0,\"M03\",\"Spindle move\"\r\n");
    window_.tbToolBar_ButtonClick("Word Search");
    Form4& form = commands_.form4();
    EXPECT_TRUE(form.isVisible() && form.isModal());
    EXPECT_EQ(form.windowTitle(), "Word Sarch " + Path("Kestrel.dic"));

    form.Text1->setText("move");
    EXPECT_EQ(form.ResultList(), "G00\t    Rapid move\r\n");
    form.Option4->click();
    EXPECT_EQ(form.Text2->toPlainText(), "G00\t    Rapid move\nM03\t    Spindle move\n");
    form.Text3->setText("Spindle");
    form.Option6->click();
    EXPECT_EQ(form.ResultList(),
              "G00\t    Rapid move\r\nM03\t    Spindle move\r\nM03\t    Spindle move\r\n");
    form.Command1->click();
    EXPECT_EQ(services_.clipboard, "");
    form.Text2->selectAll();
    form.Command1->click();
    EXPECT_EQ(services_.clipboard, form.ResultList());

    form.Command2->click();
    controls_.MenuDicFund->trigger();
    EXPECT_TRUE(form.Option1->isChecked() && form.Option5->isChecked());
    ExpectTexts({{form.Text1, ""}, {form.Text3, ""}, {form.Text2, ""}});
}

}  // namespace
}  // namespace qm
