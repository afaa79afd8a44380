#pragma once

#include <string>
#include <string_view>

namespace qm {

// The file type of a program path, which chooses its dictionary: everything after the first
// full stop of the file's own name, in upper case; empty when the name has no full stop. Folder
// names never count. "O1234.min" -> "MIN"; "PART" -> ""; "PART.MIN.BAK" -> "MIN.BAK";
// "/home/j.smith/PART" -> "".
std::string FileTypeKey(std::string_view path);

// Whether key is one of the types that keep a dictionary of their own (MIN SUB SSB SDF LIB TOP
// LDR LPD TXT NC, the empty key, and the common G-code types NGC GCODE TAP).
bool IsDictionaryType(std::string_view key);

// File name, in the program folder, of the dictionary a type starts with; empty for a key that
// is not a dictionary type.
std::string_view DefaultDictionaryFor(std::string_view key);

// File name, in the program folder, of the dictionary used before any type has chosen one.
inline constexpr std::string_view kDefaultDicFileName = "Kestrel.dic";

}  // namespace qm
