#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <sys/stat.h>
#include <filesystem>
#include <map>

#include "OutputFixture.h"
#include "SpreadsheetExport.h"
#include "SpreadsheetPlatform.h"
#include "SpreadsheetWorkbook.h"
#include "StatusPanels.h"

namespace qm {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const QString kFooter =
    "-This file was converted automatically by Quillmark. A used dictionary is ";

// One member of a zip file, through unzip.
QString Unzip(const QString& unzip, const QString& zip, const char* member) {
    QProcess process;
    process.start(unzip, {"-p", zip, QString::fromLatin1(member)});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Texts of the elements named name, or of attribute `attribute` of them when given.
QStringList Elements(const QString& xml, const char* name, const char* attribute = nullptr) {
    QStringList found;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() != QLatin1String(name))
            continue;
        found << (attribute ? reader.attributes().value(QLatin1String(attribute)).toString()
                            : reader.readElementText());
    }
    return found;
}

// The sheet's text cells by reference ("A1" -> "G00"). Cells are written as shared strings.
std::map<QString, QString> Cells(const QString& unzip, const QString& xlsx) {
    const QStringList strings = Elements(Unzip(unzip, xlsx, "xl/sharedStrings.xml"), "t");
    const QString sheet = Unzip(unzip, xlsx, "xl/worksheets/sheet1.xml");
    const QStringList refs = Elements(sheet, "c", "r");
    const QStringList values = Elements(sheet, "v");
    std::map<QString, QString> cells;
    for (qsizetype i = 0; i < refs.size() && i < values.size(); ++i) {
        cells[refs[i]] = strings.value(values[i].toInt());
    }
    return cells;
}

// The output fixture's window, with the program named /NC/A&B.MIN, Caps Lock off, and a PATH
// and cache folder of the test's own.
class SpreadsheetExportTest : public test::OutputFixture {
  protected:
    void SetUp() override {
        if (unzip_.isEmpty())
            GTEST_SKIP() << "unzip is not installed; make test installs it";
        std::filesystem::create_directories(folder_.path() / "bin");
        qputenv("PATH", QFile::encodeName(Path("bin")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(Path("cache")));
        OutputFixture::SetUp();
        context().documents.OriginalFile().setWindowTitle("/NC/A&B.MIN");
        state_.ProgramFileName = "/nc/A&B.MIN";
        services_.keysPressed.clear();
        services_.capsLock = false;  // start-up switched it on
    }
    ~SpreadsheetExportTest() override {
        qputenv("PATH", path_);
        cache_.isNull() ? qunsetenv("XDG_CACHE_HOME") : qputenv("XDG_CACHE_HOME", cache_);
    }
    QString FakeProgram(const char* name) {
        const QString path = Path("bin/") + name;
        test::WriteBytes(path.toStdString(), "#!/bin/sh\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        return path;
    }
    QStringList Workbooks() const {
        return QDir(Path("cache/Quillmark")).entryList(QDir::Files | QDir::Hidden);
    }
    void Export() { controls_.MenuFileExcel->trigger(); }

    const QString unzip_ = QStandardPaths::findExecutable("unzip");
    const QByteArray path_ = qgetenv("PATH");
    const QByteArray cache_ = qgetenv("XDG_CACHE_HOME");
};

TEST(PlanExport, TemplateLayoutDictionaryNameAndFooterByType) {
    const struct {
        const char *path, *key, *templateName;
        bool convertedOnly;
    } cases[] = {{"/nc/O1.TOP", "TOP", "Quillmark-TOP.xlt", true},
                 {"/nc/o1.lpd", "LPD", "Quillmark-LPD.xlt", true},
                 {"/nc/O1.MIN", "MIN", "Quillmark.xlt", false},
                 {"/nc/O1", "", "Quillmark.xlt", false},
                 {"/home/j.smith/O1.TOP", "TOP", "Quillmark-TOP.xlt", true}};
    for (const auto& c : cases) {
        AppState state;
        state.FileTypeKey = "SUB";
        state.ProgramFileName = c.path;
        state.DicPathName = "/dic";
        state.DicFileName = "/dic/Kestrel.dic";
        const ExportPlan plan = PlanExport(state, "CAPTION");
        EXPECT_EQ(state.FileTypeKey, c.key) << c.path;
        EXPECT_EQ(plan.templateName, c.templateName) << c.path;
        EXPECT_EQ(plan.convertedOnly, c.convertedOnly) << c.path;
        EXPECT_EQ(plan.dictionaryName, "Kestrel.dic");
        EXPECT_EQ(plan.footer, kFooter + "[Kestrel.dic]");
    }
    AppState outside;
    outside.DicPathName = "/home/op/dictionaries";
    outside.DicFileName = "/opt/quillmark/Kestrel-ENG.dic";
    EXPECT_EQ(PlanExport(outside, "New").footer, kFooter + "[Kestrel-ENG.dic]");
}

TEST_F(SpreadsheetExportTest, MinProgramGoesIntoTwoColumnsAndOpensInTheFirstProgramFound) {
    FakeProgram("gnumeric");
    const QString soffice = FakeProgram("soffice");
    services_.capsLock = true;
    state_.DicPathName = QString::fromStdString(folder_.path().string());
    state_.DicFileName = Path("Kestrel.dic");
    const int busyBefore = services_.busyCalls;
    Export();
    EXPECT_EQ(services_.keysPressed, std::vector<std::uint16_t>{kVkCapital});
    EXPECT_FALSE(services_.capsLock);
    EXPECT_EQ(state_.ExcelPath, soffice);
    EXPECT_EQ(settings_.GetSetting("Excel", "unset"), "unset");
    ASSERT_EQ(Workbooks(), QStringList{"A&B.MIN.xlsx"});
    const QString xlsx = Path("cache/Quillmark/A&B.MIN.xlsx");
    EXPECT_EQ(services_.programsStarted, (std::vector<QStringList>{{soffice, xlsx}}));
    EXPECT_EQ(services_.clipboard, "Rapid\r\nM30\r\n");
    EXPECT_EQ(window_.statusPanels().Panel(1).text(), xlsx);
    EXPECT_EQ(services_.busyCalls - busyBefore, 2);
    EXPECT_FALSE(services_.busy);

    const std::map<QString, QString> expected = {
        {"A1", "G00"}, {"B1", "Rapid"}, {"A2", "M30"}, {"B2", "M30"}};
    EXPECT_EQ(Cells(unzip_, xlsx), expected);
    const QString sheet = Unzip(unzip_, xlsx, "xl/worksheets/sheet1.xml");
    EXPECT_EQ(Elements(sheet, "oddHeader"), QStringList{"&C/NC/A&&B.MIN"});
    EXPECT_EQ(Elements(sheet, "oddFooter"), QStringList{"&C" + kFooter + "[Kestrel.dic]"});
    EXPECT_EQ(Elements(Unzip(unzip_, xlsx, "xl/workbook.xml"), "sheet", "name"),
              QStringList{"A&B.MIN"});

    Export();  // a second export never touches the first workbook, which may still be open
    EXPECT_EQ(Workbooks(), (QStringList{"A&B.MIN (2).xlsx", "A&B.MIN.xlsx"}));
}

TEST_F(SpreadsheetExportTest, TopProgramPutsOnlyTheConvertedTextIntoColumnA) {
    state_.ProgramFileName = "/nc/LONG.TOP";
    state_.ExcelPath = FakeProgram("gnumeric");
    Export();
    EXPECT_TRUE(services_.keysPressed.empty());  // Caps Lock was off
    EXPECT_EQ(services_.clipboard, "Rapid\r\nM30\r\n");
    const std::map<QString, QString> expected = {{"A1", "Rapid"}, {"A2", "M30"}};
    EXPECT_EQ(Cells(unzip_, Path("cache/Quillmark/LONG.TOP.xlsx")), expected);
}

TEST_F(SpreadsheetExportTest, MissingProgramNamesWhatIsLookedForAndYesStoresAnExecutableOne) {
    services_.AnswerMessage(MsgResult::Yes);
    services_.AnswerFileDialog(std::nullopt);
    Export();                                  // nothing on the PATH
    ASSERT_EQ(services_.messages.size(), 1u);  // a cancelled choice ends the command
    const MessageBoxRequest& question = services_.messages[0];
    EXPECT_THAT(question.prompt.toStdString(), HasSubstr("LibreOffice Calc or Gnumeric"));
    EXPECT_FALSE(question.prompt.contains("Excel.exe"));
    EXPECT_EQ(services_.fileDialogs.back().initialFolder, "/usr/bin/");
    EXPECT_TRUE(state_.ExcelPath.isEmpty());

    services_.AnswerMessage(MsgResult::Yes);
    services_.AnswerFileDialog(Path("Kestrel.dic"));  // a file, but no program
    Export();
    EXPECT_THAT(services_.messages.back().prompt.toStdString(),
                HasSubstr("is not an executable program"));
    EXPECT_TRUE(state_.ExcelPath.isEmpty());
    EXPECT_EQ(settings_.GetSetting("Excel", "unset"), "unset");

    const QString calc = FakeProgram("scalc");
    services_.AnswerMessage(MsgResult::Yes);
    services_.AnswerFileDialog(calc);
    Export();
    EXPECT_EQ(state_.ExcelPath, calc);
    EXPECT_EQ(settings_.GetSetting("Excel", ""), calc);
    EXPECT_TRUE(services_.programsStarted.empty());  // the export is not repeated
    EXPECT_TRUE(services_.clipboard.isEmpty());
    EXPECT_TRUE(services_.AllAnswersUsed());
}

TEST_F(SpreadsheetExportTest, NoProgramWantedOffersToSaveTheWorkbookWhereTheUserChooses) {
    services_.AnswerMessage(MsgResult::No);
    services_.AnswerMessage(MsgResult::Yes);
    services_.AnswerFileDialog(Path("kept.xlsx"));
    const mode_t mask = ::umask(022);
    Export();
    ::umask(mask);
    ASSERT_EQ(services_.messages.size(), 2u);
    EXPECT_THAT(services_.messages[1].prompt.toStdString(), HasSubstr(".xlsx"));
    ASSERT_EQ(services_.fileDialogs.size(), 1u);
    EXPECT_EQ(services_.fileDialogs[0].initialFile, "A&B.MIN.xlsx");
    const std::map<QString, QString> expected = {
        {"A1", "G00"}, {"B1", "Rapid"}, {"A2", "M30"}, {"B2", "M30"}};
    EXPECT_EQ(Cells(unzip_, Path("kept.xlsx")), expected);
    EXPECT_EQ(window_.statusPanels().Panel(1).text(), Path("kept.xlsx"));
    EXPECT_TRUE(QFile::permissions(Path("kept.xlsx")) &
                QFile::ReadOther);  // not the temporary file's 0600
    EXPECT_TRUE(services_.programsStarted.empty());
    EXPECT_TRUE(Workbooks().isEmpty());

    test::WriteBytes(folder_.File("locked.xlsx"), "old");
    QFile::setPermissions(Path("locked.xlsx"), QFile::ReadOwner);
    services_.AnswerMessage(MsgResult::No);
    services_.AnswerMessage(MsgResult::Yes);
    services_.AnswerFileDialog(Path("locked.xlsx"));
    Export();  // refused for root too
    EXPECT_THAT(services_.messages.back().prompt.toStdString(),
                EndsWith("locked.xlsx: Permission denied"));
    EXPECT_EQ(test::ReadBytes(folder_.File("locked.xlsx")), "old");

    services_.AnswerMessage(MsgResult::No);
    services_.AnswerMessage(MsgResult::No);  // neither: nothing is written
    Export();
    EXPECT_EQ(services_.fileDialogs.size(), 2u);
    EXPECT_TRUE(services_.AllAnswersUsed());
}

TEST_F(SpreadsheetExportTest, ProgramThatCannotStartAsksAndLeavesNoWorkbook) {
    state_.ExcelPath = "C:\\Program Files\\Microsoft Office\\Office11\\EXCEL.EXE";
    services_.nextTaskId = 0;  // the program cannot be started
    services_.AnswerMessage(MsgResult::No);
    services_.AnswerMessage(MsgResult::No);
    Export();
    EXPECT_EQ(services_.programsStarted.size(), 1u);
    EXPECT_EQ(services_.messages.size(), 2u);
    EXPECT_TRUE(services_.clipboard.isEmpty());
    EXPECT_TRUE(Workbooks().isEmpty());
}

TEST_F(SpreadsheetExportTest, TextThatNoCellHoldsIsReportedAndNothingIsStarted) {
    state_.ExcelPath = FakeProgram("localc");
    SetEditorText(Source(), std::string(40000, 'X'));
    Export();
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_THAT(services_.messages[0].prompt.toStdString(),
                StartsWith("The workbook could not be written.\r\nLine 1 of column A"));
    EXPECT_TRUE(services_.programsStarted.empty());
    EXPECT_TRUE(Workbooks().isEmpty());
    EXPECT_FALSE(services_.busy);
}

TEST(SpreadsheetWorkbook, NamesSectionsLinesAndWidths) {
    EXPECT_EQ(SheetName("'O[1]:2*?/\\.MIN'"), "O_1__2____.MIN");
    EXPECT_EQ(SheetName(QString(40, 'x')), QString(31, 'x'));
    EXPECT_EQ(SheetName("''"), "Sheet1");
    EXPECT_EQ(CentredSection("A&B"), "&CA&&B");
    const QString longText = QString(300, 'x') + "END";
    const QString section = CentredSection(longText);
    EXPECT_EQ(section.size(), 255);
    EXPECT_TRUE(section.startsWith("&C...x") && section.endsWith("xEND")) << section.toStdString();
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\n"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (QStringList{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").isEmpty());
    EXPECT_EQ(DisplayWidth(QStringLiteral("G00 早送り")), 4 + 2 * 3);
    EXPECT_EQ(DisplayWidth(QStringLiteral("ｱｲ")), 2);  // half-width katakana
}

TEST(SpreadsheetWorkbook, CellsKeepTextAsWrittenAndColumnsFitTheLongestLine) {
    const QString unzip = QStandardPaths::findExecutable("unzip");
    if (unzip.isEmpty())
        GTEST_SKIP() << "unzip is not installed; make test installs it";
    test::TempFolder folder;
    const QString dir = QString::fromStdString(folder.path().string());
    const QString longLine = QString(40, 'x');
    const QString columnB = longLine + "\r\n" + QStringLiteral("早送り");
    const QString columnA = QStringLiteral("0010\r\n=1+1\r\n\r\n  G01\tX1\r\nA") + QChar(0) + "B";
    const SavedWorkbook saved = SaveNewWorkbook(dir, "P", {"P", "", "", {columnA, columnB}});
    ASSERT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
    const std::map<QString, QString> expected = {
        {"A1", "0010"},      {"A2", "=1+1"},
        {"A4", "  G01\tX1"}, {"A5", QStringLiteral("A\uFFFDB")},
        {"B1", longLine},    {"B2", QStringLiteral("早送り")}};
    EXPECT_EQ(Cells(unzip, saved.path), expected);
    const QStringList widths =
        Elements(Unzip(unzip, saved.path, "xl/worksheets/sheet1.xml"), "col", "width");
    ASSERT_EQ(widths.size(), 2);
    EXPECT_LT(widths[0].toDouble(), 40);
    EXPECT_GT(widths[1].toDouble(), 40);
    EXPECT_LT(widths[1].toDouble(), 60);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden),
              QStringList{"P.xlsx"});  // no temporary file left
}

}  // namespace
}  // namespace qm
