#include "Dictionary.h"

#include <utility>

namespace qm {

bool DictionaryTable::Append(DictionaryEntry entry) {
    if (LastIndex + 1 >= kDictionarySlots) return false;
    entries[++LastIndex] = std::move(entry);
    return true;
}

}  // namespace qm
