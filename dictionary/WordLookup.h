#pragma once

#include <string_view>

#include "Dictionary.h"

namespace qm {

// Position of the first entry, from 0 upward, whose word equals word exactly; -1 when none.
int FindWord(const DictionaryTable& table, std::string_view word);

// Number of entries in the dictionary.
inline int EntryCount(const DictionaryTable& table) { return table.LastIndex + 1; }

}  // namespace qm
