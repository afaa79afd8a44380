#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace qm {

class SettingsStore;

// How the programs of a file type are read when they are followed: "rs274ngc" (LinuxCNC),
// "fanuc" (Fanuc-style with Custom Macro B), or "none" for the data files, which make no
// moves. The G-code types (NC NGC GCODE TAP and names without a full stop) start as
// rs274ngc, TOP LDR LPD as none, every other type as fanuc; each type keeps its own choice
// under "Dialect" and its type ("DialectMIN", "DialectNON" for names without a full stop).
inline constexpr std::string_view kDialectRs274ngc = "rs274ngc";
inline constexpr std::string_view kDialectFanuc = "fanuc";
inline constexpr std::string_view kDialectNone = "none";

std::string_view DefaultDialectFor(std::string_view fileTypeKey);
QString DialectKey(std::string_view fileTypeKey);
// The stored choice for a type; its default when none is stored or the stored text is not
// one of the three.
std::string DialectForType(const SettingsStore& store, std::string_view fileTypeKey);
void SaveDialectForType(SettingsStore& store, std::string_view fileTypeKey, std::string_view dialect);

}  // namespace qm
