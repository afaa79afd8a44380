#include "AcRules.h"

#include <algorithm>
#include <utility>

#include "Convert.h"
#include "ProperCase.h"

namespace qm {
namespace {

// (word, entry) of every entry with a word, equal words together, each word's entries ascending.
std::vector<std::pair<std::string_view, int>> SortedWords(const DictionaryTable& table) {
    std::vector<std::pair<std::string_view, int>> sorted;
    for (int i = 0; i <= table.LastIndex; ++i) {
        const std::string& word = table.entries[std::size_t(i)].word;
        if (!word.empty()) sorted.emplace_back(word, i);
    }
    // By length first: words nesting in each other (G, GG, GGG, ...) then compare cheaply.
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        if (a.first.size() != b.first.size()) return a.first.size() < b.first.size();
        return a < b;
    });
    return sorted;
}

std::vector<std::string_view> Views(const std::vector<std::string>& words) {
    return std::vector<std::string_view>(words.begin(), words.end());
}

}  // namespace

AcRules::AcRules(const DictionaryTable& table, std::size_t denseCells) : lastIndex(table.LastIndex) {
    const auto entryCount = std::size_t(std::max(table.LastIndex + 1, 0));
    entryWord.assign(entryCount, AcAutomaton::kNoWord);
    for (const auto& [word, entry] : SortedWords(table)) {
        if (words.empty() || words.back() != word) {
            words.emplace_back(word);
            wordEntryStart.push_back(std::uint32_t(wordEntries.size()));
        }
        entryWord[std::size_t(entry)] = std::uint32_t(words.size() - 1);
        wordEntries.push_back(entry);
    }
    wordEntryStart.push_back(std::uint32_t(wordEntries.size()));
    automaton = AcAutomaton(Views(words), denseCells);

    inert.assign(entryCount, 0);
    holdsWord.assign(entryCount, 0);
    for (std::size_t i = 0; i < entryCount; ++i) {
        insertStart.push_back(inserts.size());
        inserts += ' ';
        inserts += ProperCase(table.entries[i].comment);
        const std::string_view text = std::string_view(inserts).substr(insertStart.back() + 1);
        const bool quiet = std::none_of(text.begin(), text.end(), [&](char c) {
            return automaton.IsWordByte(static_cast<unsigned char>(c));
        });
        // Empty text joins its neighbours, which can form a word.
        if (quiet && !text.empty()) inert[i] |= 1;
        if (quiet && !automaton.IsWordByte(' ')) inert[i] |= 2;
        if (entryWord[i] != AcAutomaton::kNoWord) {
            const std::string_view word = words[entryWord[i]];
            if (InsertHoldsWord(word, text)) holdsWord[i] |= 1;
            if (InsertHoldsWord(word, std::string_view(inserts).substr(insertStart.back()))) holdsWord[i] |= 2;
        }
    }
    insertStart.push_back(inserts.size());
}

}  // namespace qm
