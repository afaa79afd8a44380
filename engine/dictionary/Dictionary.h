#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TextCodec.h"

namespace qm {

// The values every dictionary file carries in its first line.
inline constexpr std::string_view DicTitle = "Translator Dictionary";
inline constexpr std::string_view DicAuthor = "Hollowmere";
inline constexpr std::string_view DicVersion = "1.1";

// Number of entry slots in a table: indexes 0 to 10000.
inline constexpr int kDictionarySlots = 10001;

// One word of a dictionary and the comment that takes its place in a converted program.
struct DictionaryEntry {
    std::int16_t number = 0;  // carried along and written back; nothing else uses it
    std::string word;         // searched for exactly, case-sensitive; empty means deleted
    std::string comment;      // may be empty

    friend bool operator==(const DictionaryEntry&, const DictionaryEntry&) = default;
};

// The loaded dictionary: the entries 0 to LastIndex, in the order they were read. Slots above
// LastIndex are ignored by every operation.
struct DictionaryTable {
    std::vector<DictionaryEntry> entries = std::vector<DictionaryEntry>(kDictionarySlots);
    int LastIndex = -1;  // -1: no entries
    // The encoding of the file the entries were read from; saving writes it back in the same.
    FileEncoding encoding;

    // Appends an entry after LastIndex; false when all slots are in use.
    bool Append(DictionaryEntry entry);
};

// A hash of the entries, their order included: tells a cache whether the table it was built
// from has changed.
std::uint64_t Fingerprint(const DictionaryTable& table);

}  // namespace qm
