#include "SaveCommand.h"

#include <QFileInfo>

#include "AppState.h"
#include "Context.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "OutputEncoding.h"
#include "ProgramDocuments.h"
#include "Services.h"
#include "TextBridge.h"

namespace qm {
namespace {

bool Ask(Context& context, const char* prompt, const char* title) {
    return context.services.MsgBox({QString::fromLatin1(prompt), MsgButtons::YesNo, MsgIcon::None,
                                    MsgDefault::First, QString::fromLatin1(title)}) == MsgResult::Yes;
}

FileEncoding ConvertedEncoding(const AppState& state) {
    return ConvertedTextEncoding(state.ProgramEncoding, state.Dictionary.encoding);
}

}  // namespace

QString ConvertedFileName(const QString& ProgramFileName) {
    const qsizetype slash = ProgramFileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype stop = ProgramFileName.lastIndexOf(QLatin1Char('.'));
    const QString stem = stop > slash + 1 ? ProgramFileName.left(stop) : ProgramFileName;
    return stem + QStringLiteral(".txt");
}

void MenuFileSave_Click(Context& context) {
    AppState& state = context.state;
    // Saving leaves SourceChanged as it is: the next Save asks again.
    if (state.SourceChanged == 1 && Ask(context, "Change origin file. Do you want save ?", "Save")) {
        if (!SaveSourceText(context)) return;
    }
    if (!Ask(context, "Do you want comment file save ?", "Save Translated File")) return;
    const std::optional<QString> path = context.services.SaveFileDialog(
        {QString::fromLatin1(kTextFilesFilter), state.SavePathName, ConvertedFileName(state.ProgramFileName), QString()});
    if (!path) return;
    state.SavePathName = QFileInfo(*path).absolutePath();
    WriteWindowText(context, EditorText(context.documents.Form1().Text1()), ConvertedEncoding(state), *path);
}

}  // namespace qm
