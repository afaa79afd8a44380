#pragma once

#include <string>
#include <vector>

#include "Dialect.h"
#include "ModalState.h"

namespace qm::interp {

// One group of the state in effect, as a reader sees it: the group, its code word as a
// program writes it ("G1", "G59.1", "M3"), and the word's value beside it ("D5", "S1200").
struct StateWord {
    std::string group;
    std::string code;
    std::string detail;
};

// The state in effect, one group a word, in the order a controller's status lists them.
std::vector<StateWord> StateWordsOf(const ModalState& state, Dialect dialect);

// A word as a status line shows it, with at most four decimals and no trailing zeros:
// ('F', 1200.0) gives "F1200", ('X', -0.5) "X-0.5", and a value that rounds to zero "X0".
std::string WordOf(char letter, double value);

// The spellings a dictionary may hold a code word in: "G1" also as "G01", "M3" as "M03".
std::vector<std::string> SpellingsOf(const std::string& code);

}  // namespace qm::interp
