#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "AcRules.h"
#include "ConversionWatch.h"

namespace qm {

// Converts the pieces (consecutive, cut at line ends; the last one ends the text) on up to
// `threads` threads and appends the results to result in order.
//
// Threads take pieces in turn, convert each into a buffer of their own that they reuse, and
// append it as soon as the pieces before it are in. So the text's result is written into fresh
// memory only once, and the memory peak stays near the size of the result.
// What one thread throws ends the others at their next piece and is thrown again here.
void ConvertInParallel(const AcRules& rules, const std::vector<std::string_view>& pieces, bool spaceAdd,
                       unsigned threads, std::string& result, ConversionWatch& watch);

}  // namespace qm
