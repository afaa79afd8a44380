#pragma once

#include <string>
#include <string_view>

#include "Dictionary.h"

namespace qm {

// What the word search looks for: comments containing the search texts, among the words that
// start with the scope prefix (0: every word).
struct WordQuery {
    std::string_view text1;
    std::string_view text2;
    char prefix = 'G';
    bool orMode = false;  // false: both texts must occur; true: either, each listed on its own
};

// The result list, one line per hit in table order: word, TAB, four spaces, comment, CR LF.
// Empty when both search texts are empty.
std::string SearchWords(const DictionaryTable& table, const WordQuery& query);

}  // namespace qm
