#include "DictionarySlots.h"

#include "AppState.h"
#include "Context.h"
#include "DocumentWindow.h"
#include "DictionaryFile.h"
#include "DocumentWindows.h"
#include "FileType.h"
#include "Services.h"
#include "SettingsStore.h"
#include "TextBridge.h"

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

void NameConvertedWindow(Context& context) {
    const AppState& state = context.state;
    context.documents.Form1().setWindowTitle(ConvertedCaption(state.ConvertedDicFileName, state.DicPathName));
}

void NameConversionDictionary(Context& context) {
    AppState& state = context.state;
    // A text converted with another dictionary keeps its caption until it is converted again:
    // a conversion that is stopped leaves the old text, and the caption must still name its
    // dictionary.
    if (!EditorView(context.documents.Form1().Text1()).empty() && !state.ConvertedDicFileName.isEmpty()) return;
    state.ConvertedDicFileName = state.DicFileName;
    NameConvertedWindow(context);
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
    // Stamped before reading: a change made in between then shows as a change at the next write.
    const FileStamp stamp = StampFile(path);
    if (Status loaded = LoadDictionaryFile(path, state.Dictionary, Readable::FilesOnly, &headerRefused);
        !loaded.ok()) {
        return Refuse(context, loaded, headerRefused ? DictionaryLoad::CheckRefused : DictionaryLoad::Unreadable);
    }

    state.DictionaryLoaded = true;
    state.LoadedDicFileName = state.DicFileName;
    state.DictionaryStamp = stamp;
    NameConversionDictionary(context);

    const int slot = DictionarySlotIndex(state.FileTypeKey);
    if (slot < 0) return DictionaryLoad::Loaded;
    state.DictionarySlot[slot] = state.DicFileName;
    context.settings.SaveSetting(kDictionarySlotKeys[slot].writtenAs, state.DicFileName);
    return DictionaryLoad::Loaded;
}

}  // namespace qm
