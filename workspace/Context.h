#pragma once

namespace qm {

struct AppState;
class SettingsStore;
class Services;
class DocumentWindows;
class Controls;

// What every command works on: the one program state, the settings, the toolkit services, the
// document windows and the main window's menus. Windows and commands get it by reference.
struct Context {
    AppState& state;
    SettingsStore& settings;
    Services& services;
    DocumentWindows& documents;
    Controls& controls;
};

}  // namespace qm
