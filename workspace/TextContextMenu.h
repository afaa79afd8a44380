#pragma once

class QMenu;
class QsciScintilla;

namespace qm {

// The context menu of a document window's text: Undo and Redo of that text, then the items of
// the Edit menu. It deletes itself once closed.
QMenu* NewTextContextMenu(QsciScintilla& editor, const QMenu& editMenu);

}  // namespace qm
