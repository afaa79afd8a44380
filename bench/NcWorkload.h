#pragma once

#include <cstddef>
#include <string>

#include "Dictionary.h"

namespace qm::bench {

// A deterministic NC program of `lines` lines (CR LF) in Fanuc and LinuxCNC style: moves, arcs,
// canned cycles, tool changes, M-codes, macro variables and comments. About 30 bytes a line.
std::string MakeNcProgram(std::size_t lines, unsigned seed);

// A dictionary of `entries` distinct words in the style of real NC vocabularies: G and M codes
// of 1 to 4 digits (G1, G01, G101, G1001), #-variables, words that are prefixes of others,
// comments of one to four words, some Japanese. Ordered as the dictionary file writer leaves
// it: longest words first, stable.
DictionaryTable MakeNcDictionary(std::size_t entries, unsigned seed);

// The same, with every tenth entry explaining its word with the word itself ("G01 LINEAR ..."),
// a common way to write them.
DictionaryTable MakeSelfNamingDictionary(std::size_t entries, unsigned seed);

// An adversarial case: one line of `bytes` G characters, and the words G, GG, GGG, ... of 1 to
// `entries` characters, each nesting in all longer ones, longest or shortest first.
std::string MakeRunOfG(std::size_t bytes);
DictionaryTable MakeNestedGDictionary(std::size_t entries, bool longestFirst);

}  // namespace qm::bench
