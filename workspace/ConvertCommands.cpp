#include "ConvertCommands.h"

#include <QAction>
#include <QTimer>

#include "AppState.h"
#include "Context.h"
#include "Controls.h"
#include "FastConvert.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "Services.h"
#include "TextBridge.h"

namespace qm {

void ConvertProgram(Context& context) {
    AppState& state = context.state;
    if (!state.DictionaryLoaded) {
        context.services.Message(QStringLiteral("Please select dictionaly file."),
                                 QStringLiteral("Dictionary Check"));
        return;
    }
    context.services.SetBusy(true);
    QsciScintilla& converted = context.documents.Form1().Text1();
    const std::string source = EditorText(context.documents.OriginalFile().Text1());
    SetEditorText(converted, {});
    SetEditorText(converted, ConvertProgram(source, state.Dictionary, state.SpaceAdd));
    context.services.SetBusy(false);
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

void Timer1_Timer(Context& context) {
    context.controls.Timer1->stop();
    ConvertProgram(context);
}

}  // namespace qm
