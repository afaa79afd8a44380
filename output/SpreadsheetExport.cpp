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
#include "SettingsStore.h"
#include "SpreadsheetPlatform.h"
#include "SpreadsheetWorkbook.h"
#include "StatusPanels.h"
#include "TextBridge.h"

namespace qm {
namespace {

const QString kNotFound = QStringLiteral(
    "The executive file of [Excel.exe] isn't found. Do you find for it by yourself?\r\n"
    "(Office2003では[C:\\Program Files\\Microsoft Office\\Office11]にあると思います。）");
constexpr const char* kProgramFilter = "All Files(*.*)|*.*|exe Files(*.exe)|*.exe";
constexpr const char* kProgramFolder = "/usr/bin/";
constexpr const char* kFooterStart = "-This file was converted automatically by Quillmark. A used dictionary is [";

// Every way the spreadsheet program can be missing ends here. Yes lets the user choose it for
// the next export; the export itself is not repeated.
void AskForSpreadsheetProgram(Context& context) {
    const MsgResult answer =
        context.services.MsgBox({kNotFound, MsgButtons::YesNo, MsgIcon::Question, MsgDefault::First, QString()});
    if (answer != MsgResult::Yes) return;
    const std::optional<QString> path = context.services.OpenFileDialog(
        {QString::fromLatin1(kProgramFilter), QString::fromLatin1(kProgramFolder), QString(), QString()});
    if (!path) return;
    context.state.ExcelPath = *path;
    context.settings.SaveSetting(QStringLiteral("Excel"), *path);
}

// The workbook's layout follows the template: the TOP and LPD ones hold the converted text
// alone, the shared one the source text beside it.
WorkbookContent Content(const ExportPlan& plan, const QString& sheetName, const QString& source,
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
    if (services.CapsLockOn()) services.PressKey(kVkCapital);  // and left off
    if (state.ExcelPath.isEmpty()) state.ExcelPath = FindSpreadsheetProgram();  // for this session only
    if (state.ExcelPath.isEmpty()) return AskForSpreadsheetProgram(context);

    SourceWindow& sourceWindow = context.documents.OriginalFile();
    const ExportPlan plan = PlanExport(state, sourceWindow.windowTitle());
    const QString source = ToQString(EditorText(sourceWindow.Text1()));
    const QString converted = ToQString(EditorText(context.documents.Form1().Text1()));
    QString name = QFileInfo(state.ProgramFileName).fileName();
    if (name.isEmpty()) name = QStringLiteral("New");

    services.SetBusy(true);
    const SavedWorkbook saved = SaveNewWorkbook(WorkbookFolder(), name, Content(plan, name, source, converted));
    services.SetBusy(false);
    if (!saved.error.isEmpty()) {
        services.Message(QStringLiteral("The workbook could not be written.\r\n") + saved.error);
        return;
    }
    if (services.StartProgram(state.ExcelPath, {saved.path}) == 0) {
        QFile::remove(saved.path);  // nothing opened it
        return AskForSpreadsheetProgram(context);
    }
    FillClipboard(services, plan, source, converted);
    ShowStatus(mainWindow, saved.path);
}

}  // namespace qm
