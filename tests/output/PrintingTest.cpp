#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include <filesystem>

#include "InstalledFont.h"
#include "OutputFixture.h"
#include "PrintProgram.h"
#include "PrintSettingDialog.h"
#include "PrinterDialog.h"
#include "PrinterSetUp.h"
#include "QtServices.h"

namespace qm {
namespace {

// A PDF that QPrinter finished: header, pages, trailer.
bool IsWholePdf(const std::string& path) {
    if (!std::filesystem::exists(path))
        return false;
    const std::string bytes = test::ReadBytes(path);
    return bytes.rfind("%PDF-", 0) == 0 && bytes.find("%%EOF") != std::string::npos;
}

class PrintingTest : public test::OutputFixture {
  protected:
    void SetUp() override {
        OutputFixture::SetUp();
        // What QPrinter falls back to on a machine without printers: PDF, but no file to write.
        printer().setOutputFormat(QPrinter::PdfFormat);
        printer().setOutputFileName(QString());
        services_.messages.clear();
    }
    double PrintableWidth() {
        return printer().pageLayout().paintRect(QPageLayout::Millimeter).width();
    }
};

TEST_F(PrintingTest, OkWithoutAPrinterAsksForAPdfFileAndPrintsThere) {
    services_.AnswerFileDialog(Path("job.pdf"));
    output_->Printer1().OKButton_Click();
    ASSERT_EQ(services_.fileDialogs.size(), 1u);
    EXPECT_EQ(services_.fileDialogs[0].initialFile, "New.pdf");
    EXPECT_EQ(services_.fileDialogs[0].initialFolder, QDir::homePath())
        << "while no folder was chosen";
    EXPECT_TRUE(services_.messages.empty());
    EXPECT_TRUE(IsWholePdf(folder_.File("job.pdf")));
    EXPECT_TRUE(printer().outputFileName().isEmpty());  // the next print asks again

    services_.AnswerFileDialog(std::nullopt);  // cancelled: nothing printed, nothing said
    output_->Printer1().OKButton_Click();
    EXPECT_EQ(services_.fileDialogs.size(), 2u);
    EXPECT_TRUE(services_.messages.empty());
    EXPECT_TRUE(services_.AllAnswersUsed());

    printer().setOutputFileName(Path("chosen.pdf"));  // as Printer Property leaves it
    output_->Printer1().OKButton_Click();
    EXPECT_EQ(services_.fileDialogs.size(), 2u);
    EXPECT_TRUE(IsWholePdf(folder_.File("chosen.pdf")));
}

TEST_F(PrintingTest, AFailedPrintLeavesThePrinterReusableForAPdf) {
    const PrintChoice choice;
    EXPECT_FALSE(PrintProgram(context(), printer(), choice));  // nowhere to print
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].prompt, "Nothing was printed: no printer is set up.");
    printer().setOutputFileName(Path("after.pdf"));
    EXPECT_TRUE(PrintProgram(context(), printer(), choice));
    EXPECT_TRUE(IsWholePdf(folder_.File("after.pdf")));

    printer().setOutputFileName(Path("no/such/folder/out.pdf"));  // a job the device refuses
    const std::string source = SourceText();
    output_->Printer1().OKButton_Click();
    EXPECT_TRUE(services_.messages.back().prompt.contains("Nothing was printed"));
    EXPECT_TRUE(services_.messages.back().prompt.contains("out.pdf"));
    EXPECT_EQ(SourceText(), source);
    printer().setOutputFileName(Path("again.pdf"));
    EXPECT_TRUE(PrintProgram(context(), printer(), choice));
    EXPECT_TRUE(IsWholePdf(folder_.File("again.pdf")));
}

TEST_F(PrintingTest, MarginsThatLeaveNoRoomAreRefusedWithThePageWidth) {
    const QString width = QString::number(qRound(PrintableWidth())) + " mm";
    controls_.MenuPrintSetup->trigger();
    PrintSettingDialog& dialog = output_->PrintSetting();
    dialog.Text1().setText("300");
    dialog.Command3_Click();
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_TRUE(services_.messages[0].prompt.contains(width))
        << services_.messages[0].prompt.toStdString();
    EXPECT_EQ(state_.LeftMerge, 10);
    EXPECT_TRUE(dialog.isVisible());  // to be corrected

    dialog.Text1().setText(QString::number(qRound(PrintableWidth()) - 5));
    dialog.Text2().setText("5");
    dialog.Command3_Click();  // the two margins meet: still no room
    EXPECT_EQ(services_.messages.size(), 2u);
    dialog.Text2().setText("-5");  // negative margins reach outwards and are accepted
    dialog.Command3_Click();
    EXPECT_EQ(services_.messages.size(), 2u);
    EXPECT_FALSE(dialog.isVisible());

    // Margins stored by an earlier version are checked before anything is printed.
    state_.LeftMerge = 300;
    state_.RightMerge = 0;
    printer().setOutputFileName(Path("empty.pdf"));
    EXPECT_FALSE(PrintProgram(context(), printer(), PrintChoice{}));
    EXPECT_TRUE(services_.messages.back().prompt.contains(width));
    EXPECT_FALSE(std::filesystem::exists(folder_.File("empty.pdf")));
}

// Every line is a printed row whatever its line end: LF (most G-code on Linux), CR, CR LF or a
// mix, below the header with the date, the caption and the page. Read back from the PDF itself,
// one text line a row.
TEST_F(PrintingTest, EveryLineIsAPrintedRowWhateverItsLineEnd) {
    const struct {
        const char* name;
        const char* text;
    } programs[] = {{"LF", "G00 X1\nG01 Y2\nM30\n"}, {"mixed", "G00 X1\r\nG01 Y2\nM30\r"}};
    const struct {
        PrintChoice choice;
        QStringList rows;  // the body's rows, below the header
    } layouts[] = {{{PrintChoice::Data::Both, 1}, {"G00 X1 Rapid X1", "G01 Y2 G01 Y2", "M30 M30"}},
                   {{PrintChoice::Data::SourceOnly, 1}, {"G00 X1", "G01 Y2", "M30"}},
                   {{PrintChoice::Data::ConvertedOnly, 2}, {"Rapid X1", "G01 Y2", "M30"}}};
    context().documents.OriginalFile().setWindowTitle("/NC/PART.MIN");
    for (const auto& program : programs) {
        SetEditorText(context().documents.OriginalFile().Text1(), program.text);
        controls_.MenuRunStart->trigger();
        for (const auto& layout : layouts) {
            SCOPED_TRACE(std::string(program.name) + " / " + layout.rows[0].toStdString());
            printer().setOutputFileName(Path("rows.pdf"));
            ASSERT_TRUE(PrintProgram(context(), printer(), layout.choice));
            const QString text = QString::fromStdString(PdfText("rows.pdf"));
            EXPECT_TRUE(text.contains(QDate::currentDate().toString("yyyy.MM.dd")))
                << text.toStdString();
            EXPECT_TRUE(text.contains("/NC/PART.MIN"));
            EXPECT_TRUE(text.contains("Page 1"));
            QStringList rows;
            for (const QString& row : text.split(QLatin1Char('\n'))) {
                if (!row.simplified().isEmpty())
                    rows << row.simplified();
            }
            const qsizetype first = rows.indexOf(layout.rows[0]);
            EXPECT_EQ(rows.mid(first, layout.rows.size()), layout.rows)
                << rows.join(QLatin1Char('|')).toStdString();
        }
    }
}

TEST(PrintFont, AFontThatIsNotInstalledGivesTheSystemFixedPitchFont) {
    const QFont fixed = FixedPitchFont();
    for (const QString& name :
         {QStringLiteral("ＭＳ 明朝"), QStringLiteral("No Such Font Quillmark")}) {
        if (QFontDatabase::hasFamily(name))
            continue;
        AppState state;
        state.PrintFontName = name;
        state.PrintFontSize = 11;
        const QFont font = PrintFont(state);
        EXPECT_EQ(font.family(), fixed.family()) << name.toStdString();
        EXPECT_EQ(font.pointSize(), 11);
        EXPECT_TRUE(QFontInfo(font).fixedPitch());
        EXPECT_EQ(state.PrintFontName, name);  // the setting is kept for a machine that has it
    }
    for (const QString& family : {QStringLiteral("Serif"), QFontDatabase::families().first()}) {
        AppState state;  // the font dialog offers generic families too
        state.PrintFontName = family;
        EXPECT_EQ(PrintFont(state).family(), family);
    }
}

// Qt's print dialog, worked as the user would: the file name of "Print to File (PDF)".
TEST(PrinterProperty, IsTheToolkitsPrintDialogThatCanChooseAPdfFile) {
    test::TempFolder folder;
    const QString pdf = QString::fromStdString(folder.File("chosen.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QtServices services;
    bool printDialog = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        if (dialog == nullptr) {
            if (modal != nullptr)
                modal->close();
            return;
        }
        printDialog = true;
        if (auto* fileName = dialog->findChild<QLineEdit*>("filename"))
            fileName->setText(pdf);
        dialog->accept();
    });
    EXPECT_EQ(services.PrinterSetupDialog(printer, 2), 2);
    EXPECT_TRUE(printDialog);
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), pdf);
}

}  // namespace
}  // namespace qm
