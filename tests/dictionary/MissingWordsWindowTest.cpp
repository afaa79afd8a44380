#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "DictionaryFixture.h"
#include "MissingWordsModel.h"
#include "MissingWordsWindow.h"
#include "StatusPanels.h"
#include "WordRegistration.h"

namespace qm {
namespace {

class MissingWordsWindowTest : public test::DictionaryFixture {
  protected:
    void SetUp() override {
        std::string program = "G00 G01 X1.\r\nG1 (G2) M3\r\n";
        for (int n = 3; n < 200; ++n)
            program += "X" + std::to_string(n) + ".\r\n";
        program += "G01 M3 ; G4\r\nG43.4 #500";
        TypeIntoSource(program.c_str());
        Convert();
    }
    void Convert() {
        controls_.Timer1->stop();
        controls_.MenuRunStart->trigger();
    }
    MissingWordsWindow& Open() {
        controls_.MenuDicMissing->trigger();
        return window();
    }
    MissingWordsWindow& window() { return commands_.missingWords(); }
    // The list as shown: "word count line" for each row.
    std::vector<std::string> Shown() {
        const QAbstractItemModel& model = *window().List1->model();
        std::vector<std::string> rows;
        for (int row = 0; row < model.rowCount(); ++row) {
            std::string shown;
            for (int column = 0; column < 3; ++column) {
                shown += (column > 0 ? " " : "") +
                         model.data(model.index(row, column)).toString().toStdString();
            }
            rows.push_back(shown);
        }
        return rows;
    }
    QString StatusNote() { return window_.statusPanels().Panel(1).text(); }
};

using Rows = std::vector<std::string>;

TEST_F(MissingWordsWindowTest, ListsTheWordsTheDictionaryLacksAndFollowsEachConversion) {
    EXPECT_EQ(StatusNote(), "5 missing words");
    MissingWordsWindow& shown = Open();
    EXPECT_TRUE(shown.isVisible());
    EXPECT_FALSE(shown.isModal());
    EXPECT_EQ(Shown(), (Rows{"G01 2 1", "M3 2 2", "#500 1 201", "G1 1 2", "G43.4 1 201"}));
    EXPECT_EQ(shown.Label1->text(), QStringLiteral("5 missing words \u2014 Kestrel.dic"));
    EXPECT_EQ(shown.CurrentRow(), 0);

    shown.SetCurrentRow(1);  // M3: stays chosen while the list changes around it
    Source().SendScintilla(QsciScintillaBase::SCI_DOCUMENTSTART);
    TypeIntoSource("M3 G1 G1 G1 M98 ");
    Convert();
    EXPECT_EQ(Shown(),
              (Rows{"G1 4 1", "M3 3 1", "G01 2 1", "#500 1 201", "G43.4 1 201", "M98 1 1"}));
    EXPECT_EQ(shown.CurrentRow(), 1);
    EXPECT_EQ(StatusNote(), "6 missing words");

    LoadKestrel(
        "0,\"G00\",\"RAPID\"\r\n0,\"G01\",\"LINEAR\"\r\n0,\"G1\",\"LINEAR\"\r\n0,\"M3\",\"SPINDLE "
        "ON\"\r\n"
        "0,\"M98\",\"CALL\"\r\n0,\"#500\",\"VARIABLE\"\r\n0,\"G43.4\",\"TOOL TIP\"\r\n");
    Convert();
    EXPECT_EQ(Shown(), Rows{});
    EXPECT_EQ(StatusNote(), "No missing words");
    EXPECT_FALSE(shown.Command1->isEnabled());

    shown.Command2->click();
    EXPECT_FALSE(shown.isVisible());
}

TEST_F(MissingWordsWindowTest, RegisterOpensWordRegistrationAndAddConvertsAgain) {
    MissingWordsWindow& shown = Open();
    shown.SetCurrentRow(3);  // G1
    Form2& form = commands_.form2();
    services_.WhileModal([&](QDialog& dialog) {
        EXPECT_EQ(&dialog, &form);
        EXPECT_EQ(form.Text1->text(), "G1");
        form.Text2->setText("LINEAR");
        form.Command1->click();
        form.Command2->click();
    });
    shown.Command1->click();
    EXPECT_TRUE(services_.AllAnswersUsed());
    EXPECT_EQ(Table(), "G00=RAPID G1=LINEAR");
    EXPECT_EQ(Shown(), (Rows{"G01 2 1", "M3 2 2", "#500 1 201", "G43.4 1 201"}));
    EXPECT_EQ(shown.CurrentRow(), 3);  // the next word
    EXPECT_EQ(StatusNote(), "4 missing words");
    EXPECT_EQ(EditorText(Converted()).substr(0, 26), "Rapid G01 X1.\r\nLinear (G2)");
}

TEST_F(MissingWordsWindowTest, DoubleClickOrEnterShowsTheFirstLineInBothWindows) {
    MissingWordsWindow& shown = Open();
    const int variable = shown.model().RowOf("#500");
    emit shown.List1->doubleClicked(shown.List1->model()->index(variable, 0));
    EXPECT_EQ(CaretLine(Source()), 200);
    EXPECT_EQ(CaretLine(Converted()), 200);
    EXPECT_EQ(Source().selectedText(), "#500");
    EXPECT_GT(FirstLine(Converted()), 100);

    shown.SetCurrentRow(shown.model().RowOf("M3"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(shown.List1, &enter);
    EXPECT_EQ(CaretLine(Source()), 1);
    EXPECT_EQ(CaretLine(Converted()), 1);
    EXPECT_EQ(Source().selectedText(), "M3");
    EXPECT_TRUE(shown.isVisible());

    // The text moved since the conversion: the line is shown, nothing is selected.
    Source().SendScintilla(QsciScintillaBase::SCI_DOCUMENTSTART);
    TypeIntoSource("N1 ");
    QCoreApplication::sendEvent(shown.List1, &enter);
    EXPECT_EQ(CaretLine(Source()), 1);
    EXPECT_EQ(Source().selectedText(), "");
}

}  // namespace
}  // namespace qm
