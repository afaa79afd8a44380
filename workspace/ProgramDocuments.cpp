#include "ProgramDocuments.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <Qsci/qsciscintilla.h>

#include "AppState.h"
#include "Context.h"
#include "Controls.h"
#include "ConvertCommands.h"
#include "DictionarySlots.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "FileAccess.h"
#include "LineLimit.h"
#include "ProgramOnDisk.h"
#include "RecentItems.h"
#include "Services.h"
#include "Settings.h"
#include "TextBridge.h"

namespace qm {
namespace {

constexpr auto kOpenFilter = "All Files(*.*)|*.*|Main Files(*.MIN)|*.min";

// Runs a load with real-time conversion held off, so that loading the text does not schedule a
// conversion of its own, and puts the flag back afterwards whatever happened.
template <typename Load>
void WithRealTimeHeld(Context& context, Load load) {
    const std::int16_t previous = context.state.RealTimeConvert;
    context.state.RealTimeConvert = 0;
    load();
    // unless a failed conversion switched it off meanwhile
    context.state.RealTimeConvert = context.controls.MenuRunLine->isChecked() ? previous : 0;
}

// A large program takes a moment to convert: paint the program as read first.
void ShowBeforeConverting(Context& context) { context.documents.OriginalFile().repaint(); }

// A program named in the recent list may have been deleted or moved since.
bool ReportIfVanished(Context& context, const QString& path) {
    if (QFileInfo::exists(path)) return false;
    context.services.Message(path + QStringLiteral(": No such file or directory"));
    return true;
}

bool EnsureFileExists(const QString& path) {
    if (QFileInfo::exists(path)) return true;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

}  // namespace

QString SourceCaption(const QString& path) { return ShortenedPath(path); }

void Text1_Change(Context& context) {
    QTimer* timer = context.controls.Timer1;
    timer->stop();
    if (context.state.RealTimeConvert == 1) timer->start(kRealTimeDelayMs);
    context.state.SourceChanged = 1;
    emit context.controls.SourceEdited();
}

bool OpenProgramFile(Context& context, const QString& path, MissingProgram missing) {
    Services& services = context.services;
    if (missing == MissingProgram::Refuse && ReportIfVanished(context, path)) return false;
    services.SetBusy(true);
    std::string bytes;
    if (!EnsureFileExists(path) || !ReadWholeFile(EnginePath(path), bytes).ok()) {
        services.Message(path + QStringLiteral(" Can not open file."));
        services.SetBusy(false);
        return false;
    }
    if (const QString tooLong = LineTooLongForWindow(path, bytes); !tooLong.isEmpty()) {
        services.Message(tooLong);
        services.SetBusy(false);
        return false;
    }
    FileStamp stamp = StampOf(EnginePath(path), bytes);
    const FileEncoding encoding = DetectEncoding(bytes);
    ShiftJisTwins twins = encoding.encoding == Encoding::ShiftJis ? ShiftJisTwins::UsedBy(bytes) : ShiftJisTwins();
    const std::string text = DecodeOwnedText(std::move(bytes), encoding);  // no copy of a large program
    SourceWindow& window = context.documents.OriginalFile();
    SetEditorText(window.Text1(), text);
    context.state.ProgramFileName = path;
    context.state.ProgramEncoding = encoding;
    context.state.ProgramTwins = std::move(twins);
    context.state.ProgramStamp = stamp;
    window.setWindowTitle(SourceCaption(path));
    services.SetBusy(false);
    emit context.controls.ProgramOpened();
    return true;
}

void AddRecentFile(Context& context, const QString& path) {
    auto& items = context.controls.mnuFileRecentFile;
    for (int i = 4; i >= 1; --i) {
        SetRecentItemPath(*items[i], RecentItemPath(*items[i - 1]));
        if (!RecentItemPath(*items[i]).startsWith(QLatin1String("RecentFile"))) items[i]->setVisible(true);
    }
    SetRecentItemPath(*items[0], path);
    items[0]->setVisible(true);
}

bool OfferToSaveSource(Context& context) {
    if (context.state.SourceChanged != 1) return true;
    const MsgResult answer = context.services.MsgBox({QStringLiteral("Change origin file. Do you want save ?"),
                                                      MsgButtons::YesNoCancel, MsgIcon::Question,
                                                      MsgDefault::First, QString()});
    if (answer == MsgResult::Cancel) return false;
    return answer != MsgResult::Yes || SaveSourceText(context);
}

bool SourceWindowClosing(Context& context) {
    if (!OfferToSaveSource(context)) return false;
    context.state.SourceChanged = 0;
    // A pending real-time conversion would bring the closed window straight back, empty.
    context.controls.Timer1->stop();
    return true;
}

// The empty text replaces the program: the edits were offered for saving, and an empty window
// holds nothing that exit should offer to write over the program's file.
void MenuFileNew_Click(Context& context) {
    if (!OfferToSaveSource(context)) return;
    SourceWindow& source = context.documents.OriginalFile();
    SetEditorText(source.Text1(), {});
    SetEditorText(context.documents.Form1().Text1(), {});
    context.state.Conversion.Reset();  // the converted window no longer shows the last result
    context.state.SourceChanged = 0;
    context.state.ProgramStamp = FileStamp();  // the empty text is no longer that file's
    context.controls.MenuRunLine->setChecked(true);
    context.state.RealTimeConvert = 1;
    source.setWindowTitle(QStringLiteral("New"));
}

void MenuFileOpen_Click(Context& context) {
    if (!OfferToSaveSource(context)) return;
    AppState& state = context.state;
    WithRealTimeHeld(context, [&] {
        const std::optional<QString> path =
            context.services.OpenFileDialog({kOpenFilter, DialogStartFolder(state.OpenPathName), QString(), QString()});
        if (!path) return;
        SelectDictionaryForFile(context, *path);
        state.OpenPathName = QFileInfo(*path).absolutePath();
        state.ProgramFileName = *path;
        if (!OpenProgramFile(context, *path)) return;
        state.SourceChanged = 0;
        ShowBeforeConverting(context);
        ConvertProgram(context);
        context.services.SetBusy(false);
        AddRecentFile(context, *path);
    });
}

void mnuFileRecentFile_Click(Context& context, int index) {
    if (!OfferToSaveSource(context)) return;
    const QString path = RecentItemPath(*context.controls.mnuFileRecentFile[index - 1]);
    if (ReportIfVanished(context, path)) return;  // before its type's dictionary is loaded
    WithRealTimeHeld(context, [&] {
        SelectDictionaryForFile(context, path);
        if (!OpenProgramFile(context, path, MissingProgram::Refuse)) return;
        context.state.SourceChanged = 0;
        ShowBeforeConverting(context);
        ConvertProgram(context);
    });
}

bool WriteWindowText(Context& context, const std::string& text, FileEncoding encoding, const QString& path) {
    context.services.SetBusy(true);
    std::string bytes;
    Status saved = EncodeText(text, encoding, bytes, &context.state.ProgramTwins);
    if (!saved.ok()) saved = Status::Fail(EnginePath(path) + ": " + saved.message() + " Nothing was written.");
    if (saved.ok()) saved = WriteFileSafely(EnginePath(path), bytes);
    context.services.SetBusy(false);
    if (!saved.ok()) context.services.Message(FromEngineText(saved.message()));
    return saved.ok();
}

bool SaveSourceText(Context& context) {
    AppState& state = context.state;
    const std::optional<QString> path = context.services.SaveFileDialog(
        {QString::fromLatin1(kTextFilesFilter), DialogStartFolder(state.OpenPathName), state.ProgramFileName, QString()});
    if (!path) return false;
    if (!MayOverwriteProgramFile(context, *path)) return false;
    state.OpenPathName = QFileInfo(*path).absolutePath();
    const std::string text = EditorText(context.documents.OriginalFile().Text1());
    if (!WriteWindowText(context, text, WritingEncoding(state.ProgramEncoding), *path)) return false;
    ProgramFileSaved(context, *path);
    return true;
}

}  // namespace qm
