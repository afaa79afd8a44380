#pragma once

#include <QString>

#include <array>
#include <optional>

#include "AppState.h"
#include "SettingsStore.h"

namespace qm {

// Main window edges in twips (1440 to the inch), as stored.
struct WindowTwips {
    float left = 1000, top = 1000, width = 12000, height = 8500;
};

// Reads "MainLeft", "MainTop", "MainWidth" and "MainHeight", each falling back to its default.
WindowTwips ReadMainWindowTwips(const SettingsStore& store);

// Fills state from the store in start-up order, with the defaults of every key. Paths that
// default to files of the program folder are joined with programFolder.
void ReadSettings(const SettingsStore& store, AppState& state, const QString& programFolder);

// What the main window hands to SaveData besides the state.
struct SaveDataWindow {
    std::optional<WindowTwips> placement;         // nothing when the window is minimized
    std::array<QString, 5> recentFileItems;       // paths (or placeholders) of the recent-file items
    std::array<QString, 5> recentDictionaryItems; // paths (or placeholders) of the recent dictionaries
};

// Writes the settings back at exit, in order: the window placement (unless minimized), fonts,
// print layout, options, folders and the current dictionary, then the recent items that hold a
// path (an item still showing its placeholder "RecentFile3" or "DicFile2" writes nothing).
void SaveData(SettingsStore& store, const AppState& state, const SaveDataWindow& window);

// The folder the program and save dialogs open in for a stored OpenPathName or SavePathName:
// the home folder while the setting holds its default (the root folder), else the folder.
QString DialogStartFolder(const QString& storedFolder);

// Single-precision numbers are stored as their shortest decimal text: 1000, 1234.5.
QString FloatText(float value);

}  // namespace qm
