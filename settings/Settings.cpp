#include "Settings.h"

#include <QDir>


#include "FileType.h"

namespace qm {
namespace {

// Each reader falls back to the key's default when the stored text is not of the key's type.
float ReadFloat(const SettingsStore& store, const QString& key, float fallback) {
    bool ok = false;
    const float value = store.GetSetting(key, FloatText(fallback)).toFloat(&ok);
    return ok ? value : fallback;
}

std::int32_t ReadInt32(const SettingsStore& store, const QString& key, std::int32_t fallback) {
    bool ok = false;
    const int value = store.GetSetting(key, QString::number(fallback)).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

std::int16_t ReadInt16(const SettingsStore& store, const QString& key, std::int16_t fallback) {
    bool ok = false;
    const short value = store.GetSetting(key, QString::number(fallback)).trimmed().toShort(&ok);
    return ok ? value : fallback;
}

bool ReadBool(const SettingsStore& store, const QString& key, bool fallback) {
    return store.GetSetting(key, fallback ? "True" : "False") == QLatin1String("True");
}

QString BoolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

QString InProgramFolder(const QString& programFolder, std::string_view file) {
    return QDir(programFolder).filePath(QString::fromUtf8(file.data(), qsizetype(file.size())));
}

}  // namespace

QString DialogStartFolder(const QString& storedFolder) {
    if (storedFolder.isEmpty() || storedFolder == QDir::rootPath()) return QDir::homePath();
    return storedFolder;
}

QString FloatText(float value) { return QString::number(double(value), 'g', 7); }

WindowTwips ReadMainWindowTwips(const SettingsStore& store) {
    const WindowTwips defaults;
    WindowTwips twips;
    twips.left = ReadFloat(store, "MainLeft", defaults.left);
    twips.top = ReadFloat(store, "MainTop", defaults.top);
    twips.width = ReadFloat(store, "MainWidth", defaults.width);
    twips.height = ReadFloat(store, "MainHeight", defaults.height);
    return twips;
}

void ReadSettings(const SettingsStore& store, AppState& state, const QString& programFolder) {
    const QString root = QDir::rootPath();
    state.ScreenFontName = store.GetSetting("ScreenFontName", "Terminal");
    state.ScreenFontSize = ReadInt32(store, "ScreenFontSize", 14);
    state.PrintFontName = store.GetSetting("PrintFontName", QStringLiteral("ＭＳ 明朝"));
    state.PrintFontSize = ReadInt32(store, "PrintFontSize", 10);
    state.PrinterOrientation = ReadInt16(store, "PrinterOrientation", 1);
    state.LeftMerge = ReadInt32(store, "LeftMerge", 10);
    state.RightMerge = ReadInt32(store, "RightMerge", 0);
    state.SpaceAdd = ReadBool(store, "SpaceAdd", false);
    state.TopBig = ReadBool(store, "TopBig", false);
    state.CapsLock = ReadBool(store, "CapsLock", true);
    state.ScrollTogether = ReadBool(store, "ScrollTogether", true);
    state.DicFileName = store.GetSetting("DicFileName", InProgramFolder(programFolder, kDefaultDicFileName));
    state.DicPathName = store.GetSetting("DicPathName", programFolder);
    state.OpenPathName = store.GetSetting("OpenPathName", root);
    state.SavePathName = store.GetSetting("SavePathName", root);
    for (std::size_t i = 0; i < kDictionarySlotKeys.size(); ++i) {
        const DictionarySlotKey& slot = kDictionarySlotKeys[i];
        state.DictionarySlot[i] = store.GetSetting(
            slot.readAs, InProgramFolder(programFolder, DefaultDictionaryFor(slot.fileTypeKey)));
    }
    state.ExcelPath = store.GetSetting("Excel", QString());
}

void SaveData(SettingsStore& store, const AppState& state, const SaveDataWindow& window) {
    if (window.placement) {
        store.SaveSetting("MainLeft", FloatText(window.placement->left));
        store.SaveSetting("MainTop", FloatText(window.placement->top));
        store.SaveSetting("MainWidth", FloatText(window.placement->width));
        store.SaveSetting("MainHeight", FloatText(window.placement->height));
    }
    store.SaveSetting("ScreenFontName", state.ScreenFontName);
    store.SaveSetting("ScreenFontSize", QString::number(state.ScreenFontSize));
    store.SaveSetting("PrintFontName", state.PrintFontName);
    store.SaveSetting("PrintFontSize", QString::number(state.PrintFontSize));
    store.SaveSetting("PrinterOrientation", QString::number(state.PrinterOrientation));
    store.SaveSetting("LeftMerge", QString::number(state.LeftMerge));
    store.SaveSetting("RightMerge", QString::number(state.RightMerge));
    store.SaveSetting("SpaceAdd", BoolText(state.SpaceAdd));
    store.SaveSetting("TopBig", BoolText(state.TopBig));
    store.SaveSetting("CapsLock", BoolText(state.CapsLock));
    store.SaveSetting("DicPathName", state.DicPathName);
    store.SaveSetting("OpenPathName", state.OpenPathName);
    store.SaveSetting("SavePathName", state.SavePathName);
    store.SaveSetting("DicFileName", state.DicFileName);
    for (int n = 1; n <= 5; ++n) {
        const QString& item = window.recentFileItems[n - 1];
        if (!item.startsWith("RecentFile")) store.SaveSetting(QStringLiteral("RecentFile%1").arg(n), item);
    }
    for (int n = 1; n <= 5; ++n) {
        const QString& item = window.recentDictionaryItems[n - 1];
        if (!item.startsWith("DicFile")) store.SaveSetting(QStringLiteral("DicFile%1").arg(n), item);
    }
    store.SaveSetting("ScrollTogether", BoolText(state.ScrollTogether));
}

}  // namespace qm
