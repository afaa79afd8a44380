#pragma once

#include <string>
#include <string_view>

#include "Block.h"
#include "Dialect.h"
#include "ValueSource.h"

namespace qm::interp {

// The text a controller reads of a line: comments "( )" and everything after ";" gone,
// blanks gone, letters in upper case.
std::string ReadableText(std::string_view line);
void ReadableTextInto(std::string_view line, std::string& text);

// Reads one line into its words, evaluating every value against the parameters as they were
// before the block. Throws ReadFailure with a plain reason when the block cannot be read.
Block ReadBlock(std::string_view line, Dialect dialect, const ValueSource& values);
// The same into a block just made (Block{}), which saves a copy on the way of every line.
void ReadBlockInto(std::string_view line, Dialect dialect, const ValueSource& values, Block& block);

// Whether a line may hold a control-flow word (an O-word, a Macro B statement, a subprogram
// call or end, a "%"): a program without such lines can be followed again from any line on.
bool HasControlFlow(std::string_view line, Dialect dialect);

// The keyword of an O-word ("SUB", "ENDWHILE", ...), FlowKind::None when unknown.
FlowKind OWordKind(std::string_view keyword);

}  // namespace qm::interp
