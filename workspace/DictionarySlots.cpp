#include "DictionarySlots.h"

#include "AppState.h"
#include "Context.h"
#include "DocumentWindow.h"
#include "DictionaryFile.h"
#include "DocumentWindows.h"
#include "FileType.h"
#include "Services.h"
#include "SettingsStore.h"

namespace qm {
namespace {

DictionaryLoad Refuse(Context& context, const Status& status, DictionaryLoad why) {
    context.services.Message(FromEngineText(status.message()),
                             QString::fromUtf8(kDictionaryCheckTitle.data(), kDictionaryCheckTitle.size()));
    if (context.state.DictionaryLoaded) context.state.DicFileName = context.state.LoadedDicFileName;
    return why;
}

QString FolderPrefix(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Only a file inside the folder is named by its path below it; a folder that merely starts
// with the same letters ("/dic" and "/dictionaries/x.dic") does not count.
bool LiesInFolder(const QString& file, const QString& folder) {
    const QString prefix = FolderPrefix(folder);
    return !folder.isEmpty() && file.size() > prefix.size() && file.startsWith(prefix);
}

QString FileNameOf(const QString& path) { return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); }

}  // namespace

QString ConvertedCaption(const QString& DicFileName, const QString& DicPathName) {
    const QString name = LiesInFolder(DicFileName, DicPathName) ? DicFileName.mid(DicPathName.length())
                                                                : FileNameOf(DicFileName);
    return QStringLiteral("Converted by ") + name;
}

QString DictionaryNameBelowFolder(const QString& DicFileName, const QString& DicPathName) {
    if (!LiesInFolder(DicFileName, DicPathName)) return FileNameOf(DicFileName);
    return DicFileName.mid(FolderPrefix(DicPathName).length());
}

void SelectDictionaryForFile(Context& context, const QString& path) {
    AppState& state = context.state;
    state.FileTypeKey = FromEngineText(FileTypeKey(path.toStdString()));
    const int slot = DictionarySlotIndex(state.FileTypeKey);
    if (slot >= 0) state.DicFileName = state.DictionarySlot[slot];
    LoadDictionary(context);
}

DictionaryLoad LoadDictionary(Context& context) {
    AppState& state = context.state;
    const std::string path = EnginePath(state.DicFileName);
    bool headerRefused = false;
    if (Status loaded = LoadDictionaryFile(path, state.Dictionary, Readable::FilesOnly, &headerRefused);
        !loaded.ok()) {
        return Refuse(context, loaded, headerRefused ? DictionaryLoad::CheckRefused : DictionaryLoad::Unreadable);
    }

    context.documents.Form1().setWindowTitle(ConvertedCaption(state.DicFileName, state.DicPathName));
    state.DictionaryLoaded = true;
    state.LoadedDicFileName = state.DicFileName;

    const int slot = DictionarySlotIndex(state.FileTypeKey);
    if (slot < 0) return DictionaryLoad::Loaded;
    state.DictionarySlot[slot] = state.DicFileName;
    context.settings.SaveSetting(kDictionarySlotKeys[slot].writtenAs, state.DicFileName);
    return DictionaryLoad::Loaded;
}

}  // namespace qm
