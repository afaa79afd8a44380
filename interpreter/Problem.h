#pragma once

#include <cstdint>
#include <string>

namespace qm::interp {

// Something a controller would refuse or warn about, at the 1-based line of its block.
struct Problem {
    std::uint32_t line = 0;
    std::string reason;
    bool stopped = false;  // following could not go on past it
    std::string source;    // the subprogram file the line is in; empty for the program itself
    bool operator==(const Problem&) const = default;
};

}  // namespace qm::interp
