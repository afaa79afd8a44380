#include "SaveCommand.h"

#include <QFileInfo>
#include <QTimer>

#include <Qsci/qsciscintilla.h>

#include "AppState.h"
#include "Context.h"
#include "Controls.h"
#include "ConvertCommands.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "ProgramDocuments.h"
#include "Services.h"
#include "Settings.h"
#include "TextBridge.h"

namespace qm {
namespace {

bool Ask(Context& context, const char* prompt, const char* title) {
    return context.services.MsgBox({QString::fromLatin1(prompt), MsgButtons::YesNo, MsgIcon::None,
                                    MsgDefault::First, QString::fromLatin1(title)}) == MsgResult::Yes;
}

// The conversion of the source as it is now. A converted window the user closed, or one a
// pending real-time conversion has not caught up with yet, is converted first; one the user
// typed into is saved as it reads. Nothing when there is no conversion to save (told why).
std::optional<std::string> ConvertedTextToSave(Context& context) {
    DocumentWindows& documents = context.documents;
    const bool typedInto = documents.HasForm1() &&
                           documents.Form1().Text1().SendScintilla(QsciScintillaBase::SCI_GETMODIFY) != 0;
    if (!typedInto) {
        context.controls.Timer1->stop();
        if (!ConvertProgram(context)) {
            context.services.Message(QStringLiteral("The program could not be converted: nothing was saved."));
            return std::nullopt;
        }
    }
    return EditorText(documents.Form1().Text1());
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
        {QString::fromLatin1(kTextFilesFilter), DialogStartFolder(state.SavePathName),
         ConvertedFileName(state.ProgramFileName), QString()});
    if (!path) return;
    state.SavePathName = QFileInfo(*path).absolutePath();
    const std::optional<std::string> converted = ConvertedTextToSave(context);
    if (!converted) return;
    WriteWindowText(context, *converted, ConvertedTextEncoding(state.ProgramEncoding), *path);
}

}  // namespace qm
