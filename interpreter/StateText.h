#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Dialect.h"
#include "FollowResult.h"

namespace qm::interp {

// The comment a dictionary gives a code word ("G91" -> "Incremental distance"); empty when
// it has none.
using CommentOf = std::function<std::string(const std::string& code)>;

// The state in effect after a 1-based line, as a reader reads it: one group a row with its
// code word and the dictionary's comment, a "*" before what the line itself changed, where
// the tool stands after the line, and the line's problems in words.
//   "  distance      G90           Absolute distance"
//   "* motion        G81 R2 Z-5    Drilling cycle"
//   "  position      X20 Y20 Z2"
//   "  problem       G2 needs an I, J or R word"
// A line the program was not followed to says so and why.
std::string StateText(const FollowResult& result, std::uint32_t line, Dialect dialect,
                      const CommentOf& commentOf);

}  // namespace qm::interp
