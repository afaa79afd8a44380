#pragma once

#include <initializer_list>

#include "Dictionary.h"

namespace qm::test {

// A dictionary table holding the given entries in order.
inline DictionaryTable TableOf(std::initializer_list<DictionaryEntry> entries) {
    DictionaryTable table;
    for (const DictionaryEntry& entry : entries) table.Append(entry);
    return table;
}

}  // namespace qm::test
