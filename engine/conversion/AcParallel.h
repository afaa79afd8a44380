#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "AcRules.h"
#include "ConversionWatch.h"

namespace qm {

// Converts the pieces (consecutive, cut at line ends; the last one ends the text when endsText)
// on up to `threads` threads and appends the results to result in order.
//
// Threads take pieces in turn, convert each into a buffer of their own that they reuse, and
// append it as soon as the pieces before it are in. So the text's result is written into fresh
// memory only once, and the memory peak stays near the size of the result. The buffers are the
// caller's (one per thread, made as needed), so that a caller converting a long text part by
// part reuses them, and the pages they hold, from part to part.
// What one thread throws ends the others at their next piece and is thrown again here.
void ConvertInParallel(const AcRules& rules, const std::vector<std::string_view>& pieces, bool endsText,
                       bool spaceAdd, unsigned threads, std::string& result, ConversionWatch& watch,
                       std::vector<std::string>& buffers);

// Converts text, appending to result: on one thread when threads is 1 and chunkBytes 0, else cut
// into pieces of chunkBytes (0: chosen from the size of text and the threads) converted with
// ConvertInParallel. threads 0 means one for small texts, every core for large ones.
void ConvertSpread(const AcRules& rules, std::string_view text, bool endsText, bool spaceAdd, unsigned threads,
                   std::size_t chunkBytes, std::string& result, ConversionWatch& watch,
                   std::vector<std::string>& buffers);

}  // namespace qm
