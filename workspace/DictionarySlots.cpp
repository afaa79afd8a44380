#include "DictionarySlots.h"

#include <QFile>

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

void Refuse(Context& context, const Status& status) {
    context.services.Message(FromEngineText(status.message()),
                             QString::fromUtf8(kDictionaryCheckTitle.data(), kDictionaryCheckTitle.size()));
    if (context.state.DictionaryLoaded) context.state.DicFileName = context.state.LoadedDicFileName;
}

}  // namespace

std::string EnginePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromEngineText(const std::string& text) { return QString::fromStdString(text); }

QString ConvertedCaption(const QString& DicFileName, const QString& DicPathName) {
    return QStringLiteral("Converted by ") + DicFileName.mid(DicPathName.length());
}

void SelectDictionaryForFile(Context& context, const QString& path) {
    AppState& state = context.state;
    state.FileTypeKey = FromEngineText(FileTypeKey(path.toStdString()));
    const int slot = DictionarySlotIndex(state.FileTypeKey);
    if (slot >= 0) state.DicFileName = state.DictionarySlot[slot];
    LoadDictionary(context);
}

void LoadDictionary(Context& context) {
    AppState& state = context.state;
    const std::string path = EnginePath(state.DicFileName);
    if (Status loaded = LoadDictionaryFile(path, state.Dictionary); !loaded.ok()) return Refuse(context, loaded);

    context.documents.Form1().setWindowTitle(ConvertedCaption(state.DicFileName, state.DicPathName));
    state.DictionaryLoaded = true;
    state.LoadedDicFileName = state.DicFileName;

    const int slot = DictionarySlotIndex(state.FileTypeKey);
    if (slot < 0) return;
    state.DictionarySlot[slot] = state.DicFileName;
    context.settings.SaveSetting(kDictionarySlotKeys[slot].writtenAs, state.DicFileName);
}

}  // namespace qm
