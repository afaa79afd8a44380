#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "AcRules.h"
#include "ConversionWatch.h"

namespace qm {

// Converts the lines of piece, appending to out. piece ends right after an LF unless it is the
// end of the text (last), whose final line the CR LF that conversion appends completes, or it
// ends inside a line right after a byte no word holds (cut), where what follows the last LF is
// converted as a line of its own.
// Counts what it converted with watch; throws ConversionTooLarge when the result as counted
// passes the limit, ConversionCancelled when the caller cancelled.
void ConvertPiece(const AcRules& rules, std::string_view piece, bool last, bool spaceAdd, std::string& out,
                  ConversionWatch& watch, bool cut = false);

// Cuts text after the first LF at least chunkBytes (> 0) into each piece. There is always at
// least one piece, and the last one runs to the end of the text.
std::vector<std::string_view> SplitAtLines(std::string_view text, std::size_t chunkBytes);

// The room for the result of totalIn bytes of text whose first sampleIn bytes gave sampleOut,
// with a little to spare. Growth beyond four times the input is left to reallocation, since a
// sample of a few lines may say little.
std::size_t ExpectedOutput(std::size_t sampleIn, std::size_t sampleOut, std::size_t totalIn);

// out.reserve(bytes), asking for huge pages when that is large: results are written into fresh
// memory, where the first touch of every page costs a fault.
void ReserveLarge(std::string& out, std::size_t bytes);

}  // namespace qm
