#include "MenuKeys.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSet>

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>

namespace qm {
namespace {

// Editor commands that change the text behind the user's back on keys beside the menu keys
// (transpose lines, duplicate a line, lower case), left without a key.
constexpr QKeyCombination kUnboundEditorKeys[] = {Qt::CTRL | Qt::Key_T, Qt::CTRL | Qt::Key_D,
                                                  Qt::CTRL | Qt::Key_U};

void CollectShortcuts(const QMenu& menu, QList<QKeySequence>& keys) {
    for (const QAction* action : menu.actions()) {
        if (action->menu() != nullptr)
            CollectShortcuts(*action->menu(), keys);
        for (const QKeySequence& key : action->shortcuts()) {
            if (!key.isEmpty())
                keys << key;
        }
    }
}

// Each key as the editor names it (key code with modifiers), with and without Shift: the
// editor's Shift variants of a menu key (Ctrl+Shift+L) were left without a key too.
QSet<int> EditorKeys(const QList<QKeySequence>& menuKeys) {
    QSet<int> keys;
    const auto add = [&keys](int key) { keys << key << (key | Qt::SHIFT); };
    for (const QKeySequence& key : menuKeys) {
        if (key.count() == 1)
            add(key[0].toCombined());
    }
    for (QKeyCombination key : kUnboundEditorKeys)
        add(key.toCombined());
    return keys;
}

}  // namespace

QList<QKeySequence> MenuShortcuts(const QList<QMenu*>& menus) {
    QList<QKeySequence> keys;
    for (const QMenu* menu : menus)
        CollectShortcuts(*menu, keys);
    return keys;
}

void FreeKeysForMenus(QsciScintilla& editor, const QList<QKeySequence>& menuKeys) {
    const QSet<int> keys = EditorKeys(menuKeys);
    for (QsciCommand* command : editor.standardCommands()->commands()) {
        if (keys.contains(command->key()))
            command->setKey(0);
        if (keys.contains(command->alternateKey()))
            command->setAlternateKey(0);
    }
}

void FreeKeysForMenus(QMdiSubWindow& frame, const QList<QKeySequence>& menuKeys) {
    if (frame.systemMenu() == nullptr)
        return;
    for (QAction* action : frame.systemMenu()->actions()) {
        QList<QKeySequence> kept = action->shortcuts();
        kept.removeIf([&menuKeys](const QKeySequence& key) { return menuKeys.contains(key); });
        if (kept.size() != action->shortcuts().size())
            action->setShortcuts(kept);
    }
}

}  // namespace qm
