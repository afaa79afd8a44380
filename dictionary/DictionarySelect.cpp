#include "DictionarySelect.h"

#include <QAction>
#include <QFileInfo>

#include "AppState.h"
#include "Context.h"
#include "Controls.h"
#include "ConvertCommands.h"
#include "DicFileOpen.h"
#include "DictionaryFile.h"
#include "DictionarySlots.h"
#include "FileStamp.h"
#include "RecentItems.h"
#include "Services.h"

namespace qm {
namespace {

bool IsFreeItem(const QString& text) { return text.startsWith(QLatin1String("DicFile")); }

// Sets the dictionary to a chosen file and the dialog's folder to the file's.
void UseChosenFile(AppState& state, const QString& path) {
    state.DicPathName = QFileInfo(path).absolutePath();
    state.DicFileName = path;
}

}  // namespace

void AddRecentDictionary(Context& context, const QString& path) {
    auto& items = context.controls.mnuDicFile;
    for (int i = 4; i >= 1; --i) {
        SetRecentItemPath(*items[i], RecentItemPath(*items[i - 1]));
        if (!IsFreeItem(RecentItemPath(*items[i]))) items[i]->setVisible(true);
    }
    SetRecentItemPath(*items[0], path);
    items[0]->setVisible(true);
}

void MenuDicSelect_Click(Context& context, DicFileOpen& dialog) {
    Services& services = context.services;
    services.SetBusy(true);
    const std::optional<QString> path = dialog.ShowOpen(services, context.state.DicPathName);
    if (path) {
        UseChosenFile(context.state, *path);
        // A file whose header is refused is still listed and converts with the table in use;
        // one whose records cannot be read ends the command.
        if (LoadDictionary(context) != DictionaryLoad::Unreadable) {
            AddRecentDictionary(context, *path);
            ConvertProgram(context);
        }
    }
    services.SetBusy(false);
}

void MenuDicCreate_Click(Context& context, DicFileOpen& dialog) {
    Services& services = context.services;
    services.SetBusy(true);
    const std::optional<QString> path = dialog.ShowSave(services, context.state.DicPathName);
    if (path) {
        // The header alone, written whole or not at all; the choice counts only once it exists.
        // A file replaced is locked first, so that another copy of the program never writes
        // between.
        FileLock lock;
        Status written = lock.Lock(EnginePath(*path));
        if (written.ok()) written = SaveDictionary(EnginePath(*path), DictionaryTable());
        if (!written.ok()) {
            services.Message(FromEngineText(written.message()) + QStringLiteral("\r\nThe dictionary was not created."));
        } else {
            UseChosenFile(context.state, *path);
            LoadDictionary(context);
            ConvertProgram(context);
        }
    }
    services.SetBusy(false);
}

void mnuDicFile_Click(Context& context, int index) {
    const QString path = RecentItemPath(*context.controls.mnuDicFile[index - 1]);
    if (IsFreeItem(path)) return;
    context.state.DicFileName = path;
    if (LoadDictionary(context) != DictionaryLoad::Unreadable) ConvertProgram(context);
}

}  // namespace qm
