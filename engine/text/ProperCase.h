#pragma once

#include <string>
#include <string_view>

namespace qm {

// Brings a comment into proper case: every letter that is the first character of the text or
// follows a word separator (blank, tab, LF, VT, FF, CR or NUL) becomes upper case, every other
// letter lower case; characters without case stay as they are. Each character is mapped one to
// one, so the text keeps its length in characters.
//
//   "SPINDLE CW" -> "Spindle Cw"    "(RAPID)" -> "(rapid)"    "主軸正転" -> "主軸正転"
std::string ProperCase(std::string_view text);

char32_t ToUpper(char32_t c);
char32_t ToLower(char32_t c);

}  // namespace qm
