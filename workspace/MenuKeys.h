#pragma once

#include <QKeySequence>
#include <QList>

class QMdiSubWindow;
class QMenu;
class QsciScintilla;

namespace qm {

// The shortcut keys of the given menus' items, submenus included.
QList<QKeySequence> MenuShortcuts(const QList<QMenu*>& menus);

// Takes the menus' keys away from an editor's own key commands, so that a menu shortcut runs
// its command while the editor has the focus; the editor would otherwise claim the key first.
void FreeKeysForMenus(QsciScintilla& editor, const QList<QKeySequence>& menuKeys);

// Takes the menus' keys away from a document window frame's own menu (its Close holds Ctrl+W),
// which would otherwise make the key ambiguous, so that neither command ran.
void FreeKeysForMenus(QMdiSubWindow& frame, const QList<QKeySequence>& menuKeys);

}  // namespace qm
