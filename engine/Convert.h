#pragma once

#include <string>
#include <string_view>

#include "Dictionary.h"

namespace qm {

// Converts a program text: a CR LF is appended to the text, then every line (up to and
// including its LF) is taken in turn, and for each entry of the table in table order every
// occurrence of the entry's word in the line is replaced by the entry's comment in proper case,
// preceded by one blank when spaceAdd is on. Each entry sees the line as the entries before it
// left it, comments they inserted included.
//
//   word "G00", comment "RAPID TRAVERSE":
//     "G00X10.\r\n"  -> "Rapid TraverseX10.\r\n\r\n"      (spaceAdd off)
//     "G00X10.\r\n"  -> " Rapid TraverseX10.\r\n\r\n"     (spaceAdd on)
//
// After a replacement the search for the same entry goes on right behind the inserted text, so
// a comment that contains its own word is not replaced again and every conversion ends.
// Entries with an empty word are skipped.
//
// This is the plain form of the algorithm: simple and slow. It is kept as the reference the
// fast engine is tested against.
std::string ConvertReference(std::string_view source, const DictionaryTable& table, bool SpaceAdd);

}  // namespace qm
