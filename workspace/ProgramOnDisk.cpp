#include "ProgramOnDisk.h"

#include <QFileInfo>
#include <QTimer>

#include <optional>

#include "AppState.h"
#include "Context.h"
#include "Controls.h"
#include "ConvertCommands.h"
#include "DocumentWindows.h"
#include "EngineText.h"
#include "FileStamp.h"
#include "ProgramDocuments.h"
#include "Services.h"

namespace qm {
namespace {

bool IsProgramFile(const AppState& state, const QString& path) {
    const QFileInfo chosen(path), program(state.ProgramFileName);
    return chosen.exists() && program.exists() &&
           chosen.canonicalFilePath() == program.canonicalFilePath();
}

// The stamp of the program's file now, when it was read from a file and has changed since.
std::optional<FileStamp> ChangedOnDisk(const AppState& state) {
    if (!state.ProgramStamp.exists)
        return std::nullopt;
    const FileStamp now = StampFile(EnginePath(state.ProgramFileName));
    if (!now.exists || now == state.ProgramStamp)
        return std::nullopt;
    return now;
}

bool AskYesNo(Context& context, const QString& prompt) {
    return context.services.MsgBox({prompt, MsgButtons::YesNo, MsgIcon::Exclamation,
                                    MsgDefault::Second, QString()}) == MsgResult::Yes;
}

}  // namespace

bool MayOverwriteProgramFile(Context& context, const QString& path) {
    if (!IsProgramFile(context.state, path) || !ChangedOnDisk(context.state))
        return true;
    return AskYesNo(context,
                    path + QStringLiteral(" changed on disk since it was opened. Overwrite it?"));
}

void ProgramFileSaved(Context& context, const QString& path) {
    if (IsProgramFile(context.state, path))
        context.state.ProgramStamp = StampFile(EnginePath(path));
}

void OfferToReadChangedProgram(Context& context) {
    AppState& state = context.state;
    if (state.SourceChanged != 0 || !context.documents.HasOriginalFile())
        return;
    const std::optional<FileStamp> now = ChangedOnDisk(state);
    // Asked once for each change: the question itself takes the focus away and gives it back.
    if (!now || *now == state.ProgramStampOffered)
        return;
    state.ProgramStampOffered = *now;
    const QString path = state.ProgramFileName;
    if (!AskYesNo(context,
                  path + QStringLiteral(" changed on disk since it was opened. Read it again?")))
        return;
    if (!OpenProgramFile(context, path, MissingProgram::Refuse))
        return;
    state.SourceChanged = 0;
    context.controls.Timer1->stop();
    ConvertProgram(context);
}

}  // namespace qm
