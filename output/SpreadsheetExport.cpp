#include "SpreadsheetExport.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include "AppState.h"
#include "Context.h"
#include "DictionarySlots.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "FileType.h"
#include "MainWindow.h"
#include "Services.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "SpreadsheetPlatform.h"
#include "SpreadsheetWorkbook.h"
#include "StatusPanels.h"
#include "TextBridge.h"

namespace qm {
namespace {

constexpr const char* kNotFound =
    "No spreadsheet program (LibreOffice Calc or Gnumeric) was found.\r\n"
    "Do you want to choose the program yourself?";
constexpr const char* kSaveInstead = "Do you want to save the workbook as an .xlsx file instead?";
constexpr const char* kProgramFilter = "All Files(*.*)|*.*|exe Files(*.exe)|*.exe";
constexpr const char* kWorkbookFilter = "Excel Workbook(*.xlsx)|*.xlsx|All Files(*.*)|*.*";
constexpr const char* kProgramFolder = "/usr/bin/";
constexpr const char* kFooterStart = "-This file was converted automatically by Quillmark. A used dictionary is [";

bool Asked(Services& services, const char* question) {
    return services.MsgBox({QString::fromUtf8(question), MsgButtons::YesNo, MsgIcon::Question, MsgDefault::First,
                            QString()}) == MsgResult::Yes;
}

void ChooseSpreadsheetProgram(Context& context) {
    const std::optional<QString> path = context.services.OpenFileDialog(
        {QString::fromLatin1(kProgramFilter), QString::fromLatin1(kProgramFolder), QString(), QString()});
    if (!path) return;
    const QFileInfo program(*path);
    if (!program.isFile() || !program.isExecutable()) {
        context.services.Message(QStringLiteral("%1 is not an executable program.").arg(*path));
        return;
    }
    context.state.ExcelPath = *path;
    context.settings.SaveSetting(QStringLiteral("Excel"), *path);
}

// The workbook's layout follows the template: the TOP and LPD ones hold the converted text
// alone, the shared one the source text beside it.
WorkbookContent MakeContent(const ExportPlan& plan, const QString& sheetName, const QString& source,
                            const QString& converted) {
    WorkbookContent content{sheetName, plan.caption, plan.footer, {}};
    if (!plan.convertedOnly) content.columns.push_back(source);
    content.columns.push_back(converted);
    return content;
}

void FillClipboard(Services& services, const ExportPlan& plan, const QString& source, const QString& converted) {
    services.ClipboardClear();
    if (!plan.convertedOnly) {
        services.ClipboardSetText(source);
        services.ClipboardClear();
    }
    services.ClipboardSetText(converted);
}

void ShowStatus(QWidget& mainWindow, const QString& text) {
    if (auto* window = qobject_cast<MainWindow*>(&mainWindow)) window->statusPanels().Panel(1).setText(text);
}

// What goes into the workbook, named after the program file.
struct ExportJob {
    ExportPlan plan;
    QString name;
    QString source;
    QString converted;
    WorkbookContent Content() const { return MakeContent(plan, name, source, converted); }
};

ExportJob GatherExport(Context& context) {
    AppState& state = context.state;
    SourceWindow& sourceWindow = context.documents.OriginalFile();
    ExportJob job{PlanExport(state, sourceWindow.windowTitle()), QFileInfo(state.ProgramFileName).fileName(),
                  ToQString(EditorText(sourceWindow.Text1())),
                  ToQString(EditorText(context.documents.Form1().Text1()))};
    if (job.name.isEmpty()) job.name = QStringLiteral("New");
    return job;
}

// Without a spreadsheet program the workbook is still of use: saved where the user chooses.
void SaveWorkbookInstead(Context& context, QWidget& mainWindow) {
    const ExportJob job = GatherExport(context);
    const std::optional<QString> path =
        context.services.SaveFileDialog({QString::fromLatin1(kWorkbookFilter), DialogStartFolder(context.state.SavePathName),
                                         job.name + QStringLiteral(".xlsx"), QStringLiteral("Save Workbook")});
    if (!path) return;
    context.services.SetBusy(true);
    const QString error = SaveWorkbookAs(*path, job.Content());
    context.services.SetBusy(false);
    if (!error.isEmpty()) {
        context.services.Message(QStringLiteral("The workbook could not be written.\r\n") + error);
        return;
    }
    ShowStatus(mainWindow, *path);
}

// Every way the spreadsheet program can be missing ends here. Yes lets the user choose it for
// the next export (the export itself is not repeated); No offers the workbook as a file.
void WhenNoSpreadsheetProgram(Context& context, QWidget& mainWindow) {
    if (Asked(context.services, kNotFound)) return ChooseSpreadsheetProgram(context);
    if (Asked(context.services, kSaveInstead)) SaveWorkbookInstead(context, mainWindow);
}

}  // namespace

QString TemplateName(const QString& fileTypeKey) {
    if (fileTypeKey == QLatin1String("TOP")) return QStringLiteral("Quillmark-TOP.xlt");
    if (fileTypeKey == QLatin1String("LPD")) return QStringLiteral("Quillmark-LPD.xlt");
    return QStringLiteral("Quillmark.xlt");
}

ExportPlan PlanExport(AppState& state, const QString& caption) {
    state.FileTypeKey = FromEngineText(FileTypeKey(EnginePath(state.ProgramFileName)));
    ExportPlan plan;
    plan.templateName = TemplateName(state.FileTypeKey);
    plan.convertedOnly = plan.templateName != QLatin1String("Quillmark.xlt");
    plan.caption = caption;
    plan.dictionaryName = DictionaryNameBelowFolder(state.DicFileName, state.DicPathName);
    plan.footer = QString::fromLatin1(kFooterStart) + plan.dictionaryName + QStringLiteral("]");
    return plan;
}

void MenuFileExcel_Click(Context& context, QWidget& mainWindow) {
    Services& services = context.services;
    AppState& state = context.state;
    if (state.CapsLock && services.CapsLockOn()) services.PressKey(kVkCapital);  // and left off
    if (state.ExcelPath.isEmpty()) state.ExcelPath = FindSpreadsheetProgram();  // for this session only
    if (state.ExcelPath.isEmpty()) return WhenNoSpreadsheetProgram(context, mainWindow);

    const ExportJob job = GatherExport(context);
    services.SetBusy(true);
    const SavedWorkbook saved = SaveNewWorkbook(WorkbookFolder(), job.name, job.Content());
    services.SetBusy(false);
    if (!saved.error.isEmpty()) {
        services.Message(QStringLiteral("The workbook could not be written.\r\n") + saved.error);
        return;
    }
    if (services.StartProgram(state.ExcelPath, {saved.path}) == 0) {
        QFile::remove(saved.path);  // nothing opened it
        return WhenNoSpreadsheetProgram(context, mainWindow);
    }
    FillClipboard(services, job.plan, job.source, job.converted);
    ShowStatus(mainWindow, saved.path);
}

}  // namespace qm
