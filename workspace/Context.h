#pragma once

namespace qm {

struct AppState;
class SettingsStore;
class Services;
class DocumentWindows;

// What every command works on: the one program state, the settings, the toolkit services and
// the document windows. Windows and commands get it by reference.
struct Context {
    AppState& state;
    SettingsStore& settings;
    Services& services;
    DocumentWindows& documents;
};

}  // namespace qm
