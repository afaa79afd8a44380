#include "ConvertCommands.h"

#include <QAction>
#include <QTimer>

#include "AppState.h"
#include "Context.h"
#include "Controls.h"
#include <Qsci/qsciscintilla.h>

#include "CodeWords.h"
#include "CommandGuard.h"
#include "ConversionProgress.h"
#include "DictionarySlots.h"
#include "IncrementalConvert.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "Services.h"
#include "TextBridge.h"

namespace qm {

namespace {

// Puts the conversion into the converted window: only the lines that changed, unless most of
// the text did; a whole assignment keeps the view where it was.
void ShowConversion(QsciScintilla& window, const IncrementalConverter& conversion,
                    const IncrementalConverter::Change& change) {
    const std::string& converted = conversion.Converted();
    if (change.whole || change.replacement.size() > converted.size() / 2) {
        const long firstLine = window.SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
        SetEditorText(window, converted);
        window.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(firstLine));
    } else {
        ReplaceEditorRange(window, change.from, change.to, change.replacement);
    }
    window.SendScintilla(QsciScintillaBase::SCI_SETSAVEPOINT);
}

// A conversion that failed (memory, or a result growing without end) would fail again at every
// pause in typing: real-time conversion stops until the user turns it on again.
void StopAfterFailedConversion(Context& context) {
    context.state.Conversion.Reset();
    context.controls.Timer1->stop();
    context.controls.MenuRunLine->setChecked(false);
    context.state.RealTimeConvert = 0;
}

}  // namespace

bool ConvertProgram(Context& context) {
    AppState& state = context.state;
    // A timer tick while the progress dialog is up: the conversion under way already has the
    // text, which the modal dialog keeps from changing.
    if (ConversionRunning()) return false;
    if (!state.DictionaryLoaded) {
        context.services.Message(QStringLiteral("Please select dictionaly file."),
                                 QStringLiteral("Dictionary Check"));
        return false;
    }
    bool shown = false;
    const bool converted = RunGuarded(context.services, [&] {
        context.services.SetBusy(true);
        const bool fresh = !context.documents.HasForm1();
        QsciScintilla& window = context.documents.Form1().Text1();
        // A new converted window, or one the user typed into, no longer shows the last result.
        if (fresh || window.SendScintilla(QsciScintillaBase::SCI_GETMODIFY) != 0) state.Conversion.Reset();
        const std::string_view source = EditorView(context.documents.OriginalFile().Text1());
        const std::optional<IncrementalConverter::Change> change = UpdateConversion(context, source);
        if (change) {  // cancelled: the window stays as it was
            ShowConversion(window, state.Conversion, *change);
            state.ConvertedDicFileName = state.DicFileName;
            NameConvertedWindow(context);
            shown = true;
            state.MissingWords = MissingOf(state.CodeWords.Update(source), state.Dictionary);
        }
        context.services.SetBusy(false);
    }, QStringLiteral("\r\nReal time Convert is switched off; Convert > Start tries again."));
    if (!converted) {
        StopAfterFailedConversion(context);
        return false;
    }
    emit context.controls.Converted();
    return shown;
}

void MenuRunStart_Click(Context& context) { ConvertProgram(context); }

void MenuRunLine_Click(Context& context) {
    QAction* item = context.controls.MenuRunLine;
    if (item->isChecked()) {
        item->setChecked(false);
        context.state.RealTimeConvert = 0;
        return;
    }
    item->setChecked(true);
    context.state.RealTimeConvert = 1;
    ConvertProgram(context);
}

void MenuRunOptionSpace_Click(Context& context) {
    context.state.SpaceAdd = !context.state.SpaceAdd;
    context.controls.MenuRunOptionSpace->setChecked(context.state.SpaceAdd);
}

void MenuRunOptionBig_Click(Context& context) {
    context.state.TopBig = !context.state.TopBig;
    context.controls.MenuRunOptionBig->setChecked(context.state.TopBig);
}

// Whether start-up and exit switch Caps Lock; it is left as it is now either way.
void MenuRunOptionCaps_Click(Context& context) {
    context.state.CapsLock = !context.state.CapsLock;
    context.controls.MenuRunOptionCaps->setChecked(context.state.CapsLock);
}

void Timer1_Timer(Context& context) {
    context.controls.Timer1->stop();
    ConvertProgram(context);
}

}  // namespace qm
