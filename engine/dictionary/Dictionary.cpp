#include "Dictionary.h"

#include <utility>

namespace qm {

bool DictionaryTable::Append(DictionaryEntry entry) {
    if (LastIndex + 1 >= kDictionarySlots) return false;
    entries[++LastIndex] = std::move(entry);
    return true;
}

namespace {

std::uint64_t Mix(std::uint64_t hash, std::string_view bytes) {
    for (unsigned char b : bytes) hash = (hash ^ b) * 0x100000001b3ull;  // FNV-1a
    return (hash ^ 0xff) * 0x100000001b3ull;                                // ends the field
}

}  // namespace

std::uint64_t Fingerprint(const DictionaryTable& table) {
    std::uint64_t hash = 0xcbf29ce484222325ull ^ (std::uint64_t(table.LastIndex + 1) << 8);
    for (int i = 0; i <= table.LastIndex; ++i) {
        hash = Mix(Mix(hash, table.entries[i].word), table.entries[i].comment);
    }
    return hash;
}

}  // namespace qm
