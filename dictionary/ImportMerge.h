#pragma once

#include "Dictionary.h"

namespace qm {

// What merging one imported record did to the table.
enum class MergeStep {
    Same,     // the word is there with the same comment: nothing to do
    Differs,  // the word is there with another comment: the user decides
    Added,    // the word was missing and now stands at the end
    Full,     // the word was missing and the table has no room left
};

struct MergeOutcome {
    MergeStep step;
    int index;  // the entry concerned; -1 with Full
};

// Looks the imported word up among the entries 0 to LastIndex (those appended by this import
// included) and appends it, with its number, when it is missing.
MergeOutcome MergeRecord(DictionaryTable& table, const DictionaryEntry& imported);

}  // namespace qm
