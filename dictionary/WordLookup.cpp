#include "WordLookup.h"

namespace qm {

int FindWord(const DictionaryTable& table, std::string_view word) {
    for (int i = 0; i <= table.LastIndex; ++i) {
        if (table.entries[i].word == word) return i;
    }
    return -1;
}

}  // namespace qm
