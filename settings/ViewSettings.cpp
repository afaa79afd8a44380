#include "ViewSettings.h"

#include "SettingsStore.h"

namespace qm {
namespace {

bool ReadBool(const SettingsStore& store, const char* key, bool fallback) {
    return store.GetSetting(QString::fromLatin1(key), fallback ? "True" : "False") == QLatin1String("True");
}

int ReadInt(const SettingsStore& store, const char* key) {
    return store.GetSetting(QString::fromLatin1(key), QStringLiteral("0")).toInt();
}

QString BoolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

}  // namespace

ViewSettings ReadViewSettings(const SettingsStore& store) {
    ViewSettings settings;
    settings.showState = ReadBool(store, "ShowState", true);
    settings.showToolpath = ReadBool(store, "ShowToolpath", false);
    settings.colourByTool = ReadBool(store, "ToolpathColourByTool", false);
    settings.panelPlace = QByteArray::fromBase64(store.GetSetting(QStringLiteral("PanelPlace"), QString()).toLatin1());
    const QRect place(ReadInt(store, "ToolpathLeft"), ReadInt(store, "ToolpathTop"), ReadInt(store, "ToolpathWidth"),
                      ReadInt(store, "ToolpathHeight"));
    // A place too small to use, or far off any screen, is no place at all.
    if (place.width() >= 100 && place.height() >= 80 && qAbs(place.left()) < 20000 && qAbs(place.top()) < 20000)
        settings.toolpathGeometry = place;
    return settings;
}

void SaveViewSettings(SettingsStore& store, const ViewSettings& settings) {
    store.SaveSetting(QStringLiteral("ShowState"), BoolText(settings.showState));
    store.SaveSetting(QStringLiteral("ShowToolpath"), BoolText(settings.showToolpath));
    store.SaveSetting(QStringLiteral("ToolpathColourByTool"), BoolText(settings.colourByTool));
    store.SaveSetting(QStringLiteral("PanelPlace"), QString::fromLatin1(settings.panelPlace.toBase64()));
    if (!settings.toolpathGeometry.isEmpty()) {
        const QRect& place = settings.toolpathGeometry;
        store.SaveSetting(QStringLiteral("ToolpathLeft"), QString::number(place.left()));
        store.SaveSetting(QStringLiteral("ToolpathTop"), QString::number(place.top()));
        store.SaveSetting(QStringLiteral("ToolpathWidth"), QString::number(place.width()));
        store.SaveSetting(QStringLiteral("ToolpathHeight"), QString::number(place.height()));
    }
}

}  // namespace qm
