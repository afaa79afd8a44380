#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// After a replacement the search for the same entry starts again at the line's first
// character, so an occurrence formed across the inserted comment is replaced too:
//
//   word "AB", comment "b":   "AAB" -> "AB" -> "B"
//
// An entry that would never end on a line is applied to that line with the search going on
// right behind each inserted comment instead (see ConvertLineReference). Entries with an empty
// word are skipped.
//
// This is the plain form of the algorithm: simple and slow. It is kept as the reference the
// fast engine is tested against.
std::string ConvertReference(std::string_view source, const DictionaryTable& table, bool SpaceAdd);

// The text that takes each entry's word's place: the comment in proper case, after one blank
// when SpaceAdd is on. Indexed like the table's entries.
std::vector<std::string> EntryInserts(const DictionaryTable& table, bool SpaceAdd);

// Converts one line in place (normally ending in its LF), inserts being EntryInserts(table, ...).
//
// Never-ending entries: an entry whose replacements on the line outnumber the bytes the line
// had when the entry began is taken as never ending, and is applied instead to the line as it
// was before the entry, the search going on right behind each inserted comment. The common
// kind, a comment that holds its own word (X -> "X AXIS"), is recognised up front. Entries that
// do end need fewer replacements than that on all but contrived lines; the exceptions are
// entries whose every replacement feeds the next one (aA -> "Aaaaa" multiplies the line's
// length with each A it passes), which would grow a line without bound in practice, so cutting
// them off there is the sound result too.
//
// inserted, when given, must hold one flag per byte of line (true: the byte came from a
// dictionary comment) and is kept in step with it, so that a caller can mark the comments in
// the converted text.
void ConvertLineReference(std::string& line, const DictionaryTable& table,
                          const std::vector<std::string>& inserts,
                          std::vector<bool>* inserted = nullptr);

// ConvertReference for texts small enough that compiling the dictionary would cost more than
// converting them. The plain algorithm moves the whole line for every replacement, so a
// dictionary whose comments grow lines without end would keep it busy for hours: it gives up
// (nothing) once it has scanned or moved workBytes bytes, and the caller takes the fast engine.
std::optional<std::string> ConvertReferenceWithin(std::string_view source, const DictionaryTable& table,
                                                  bool SpaceAdd, std::size_t workBytes);

// Whether an entry would never end on any line that holds its word: its insert holds the word.
bool InsertHoldsWord(std::string_view word, std::string_view insert);

}  // namespace qm
