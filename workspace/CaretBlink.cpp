#include "CaretBlink.h"

#include <QApplication>

#include <Qsci/qsciscintilla.h>

namespace qm {
namespace {

using B = QsciScintillaBase;

// Qt's flash time is a whole on-off cycle; Scintilla's period is each half of it.
unsigned long BlinkPeriod() {
    const int flash = QApplication::cursorFlashTime();
    return flash > 0 ? static_cast<unsigned long>(flash / 2) : 0ul;
}

void ChooseCaretPeriod(QsciScintilla& editor) {
    const long caretLine =
        editor.SendScintilla(B::SCI_LINEFROMPOSITION, editor.SendScintilla(B::SCI_GETCURRENTPOS));
    const bool longLine =
        editor.SendScintilla(B::SCI_LINELENGTH, static_cast<unsigned long>(caretLine)) >
        kSteadyCaretLineLength;
    const unsigned long period = longLine ? 0ul : BlinkPeriod();
    if (editor.SendScintilla(B::SCI_GETCARETPERIOD) != long(period))
        editor.SendScintilla(B::SCI_SETCARETPERIOD, period);
}

}  // namespace

void KeepCaretSteadyOnLongLines(QsciScintilla& editor) {
    QObject::connect(&editor, &B::SCN_UPDATEUI, &editor, [&editor](int updated) {
        if (updated & (B::SC_UPDATE_SELECTION | B::SC_UPDATE_CONTENT))
            ChooseCaretPeriod(editor);
    });
    ChooseCaretPeriod(editor);
}

}  // namespace qm
