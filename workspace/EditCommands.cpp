#include "EditCommands.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <Qsci/qsciscintilla.h>

#include "Context.h"
#include "DocumentWindow.h"
#include "DocumentWindows.h"
#include "Services.h"
#include "TextBridge.h"

namespace qm {
namespace {

std::string SelectedText(QsciScintilla& text) {
    const long start = text.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long end = text.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND);
    std::string selected(std::size_t(end - start) + 1, '\0');
    text.SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, start, end, selected.data());
    selected.resize(std::size_t(end - start));
    return selected;
}

void ReplaceSelection(QsciScintilla& text, const std::string& replacement) {
    text.SendScintilla(QsciScintillaBase::SCI_TARGETFROMSELECTION);
    text.SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, static_cast<unsigned long>(replacement.size()),
                       replacement.data());
    const long end = text.SendScintilla(QsciScintillaBase::SCI_GETTARGETEND);
    text.SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(end), end);
}

}  // namespace

QsciScintilla* ActiveText(Context& context) {
    QMdiSubWindow* active = context.documents.area().activeSubWindow();
    auto* window = active != nullptr ? qobject_cast<DocumentWindow*>(active->widget()) : nullptr;
    return window != nullptr ? &window->Text1() : nullptr;
}

std::string ActiveSelection(Context& context) {
    QsciScintilla* text = ActiveText(context);
    return text != nullptr ? SelectedText(*text) : std::string();
}

void MenuEditCut_Click(Context& context) {
    QsciScintilla* text = ActiveText(context);
    if (text == nullptr) return;
    context.services.ClipboardClear();
    context.services.ClipboardSetText(ToQString(SelectedText(*text)));
    ReplaceSelection(*text, {});
}

void MenuEditCopy_Click(Context& context) {
    QsciScintilla* text = ActiveText(context);
    if (text == nullptr) return;
    context.services.ClipboardClear();
    context.services.ClipboardSetText(ToQString(SelectedText(*text)));
}

void MenuEditPaste_Click(Context& context) {
    QsciScintilla* text = ActiveText(context);
    if (text == nullptr) return;
    // Pasted lines end as the text's own do, as typed ones.
    ReplaceSelection(*text, WithLineEnds(FromQString(context.services.ClipboardGetText()), EditorLineEnd(*text)));
}

void MenuEditAll_Click(Context& context) {
    if (QsciScintilla* text = ActiveText(context)) text->SendScintilla(QsciScintillaBase::SCI_SELECTALL);
}

void MenuEditAllCopy_Click(Context& context) {
    QsciScintilla* text = ActiveText(context);
    if (text == nullptr) return;
    context.services.ClipboardClear();
    context.services.ClipboardSetText(ToQString(EditorText(*text)));
}

}  // namespace qm
