#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "AcAutomaton.h"
#include "Dictionary.h"

namespace qm {

// A dictionary table compiled for conversion: an automaton over its distinct words, and per
// entry its word and the text that takes the word's place. Entries are numbered as in the table;
// only 0 .. LastIndex count.
struct AcRules {
    AcRules(const DictionaryTable& table, std::size_t denseCells);

    std::string_view Word(std::uint32_t word) const { return words[word]; }
    // The text entry i inserts: ProperCase(comment), after one blank when spaceAdd is on.
    std::string_view Insert(int entry, bool spaceAdd) const {
        const std::size_t from = insertStart[std::size_t(entry)] + (spaceAdd ? 0 : 1);
        return std::string_view(inserts).substr(from, insertStart[std::size_t(entry) + 1] - from);
    }
    // True when no word can share a byte with the inserted text, so inserting it cannot form
    // new occurrences.
    bool Inert(int entry, bool spaceAdd) const { return inert[std::size_t(entry)] & (spaceAdd ? 2 : 1); }
    // True when the inserted text holds the entry's word: the entry would never end on a line
    // holding it, and is applied with the search going on behind each inserted text.
    bool HoldsWord(int entry, bool spaceAdd) const { return holdsWord[std::size_t(entry)] & (spaceAdd ? 2 : 1); }
    int LastEntryOf(std::uint32_t word) const { return wordEntries[wordEntryStart[word + 1] - 1]; }

    std::vector<std::string> words;           // distinct non-empty words; the id is the index
    AcAutomaton automaton;                    // over words, same ids
    int lastIndex = -1;
    std::vector<std::uint32_t> entryWord;     // per entry: word id, or kNoWord for an empty word
    std::vector<std::uint32_t> wordEntryStart;  // entries of word w, ascending:
    std::vector<int> wordEntries;               //   wordEntries[wordEntryStart[w] .. [w + 1])
    std::string inserts;                      // per entry: " " + ProperCase(comment)
    std::vector<std::size_t> insertStart;     // where each entry's blank is; one past the end last
    std::vector<unsigned char> inert;         // bit 0: without blank, bit 1: with blank
    std::vector<unsigned char> holdsWord;     // the same bits
};

}  // namespace qm
