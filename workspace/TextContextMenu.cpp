#include "TextContextMenu.h"

#include <QAction>
#include <QMenu>

#include <Qsci/qsciscintilla.h>

namespace qm {

QMenu* NewTextContextMenu(QsciScintilla& editor, const QMenu& editMenu) {
    auto* menu = new QMenu(&editor);
    menu->setObjectName("TextContextMenu");
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* undo = menu->addAction(QStringLiteral("Undo(&U)"), &editor, &QsciScintilla::undo);
    undo->setObjectName("TextUndo");
    undo->setEnabled(editor.isUndoAvailable());
    QAction* redo = menu->addAction(QStringLiteral("Redo(&R)"), &editor, &QsciScintilla::redo);
    redo->setObjectName("TextRedo");
    redo->setEnabled(editor.isRedoAvailable());
    menu->addSeparator();
    menu->addActions(editMenu.actions());
    return menu;
}

}  // namespace qm
