#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "CommandLine.h"
#include "FastConvert.h"
#include "FileAccess.h"
#include "Status.h"

namespace qm::cli {

// What ConvertInParts did with a program.
enum class PartsOutcome {
    Written,    // the result is at its destination
    Failed,     // nothing was written; the status says why
    ReadWhole,  // nothing was done: the caller reads and converts the program as a whole
};

// Converts a plain program file of at least minBytes a few megabytes at a time and hands the
// result to write (WriteFileSafelyInParts or the like) part by part, so that a program of any size is converted in the memory of
// a few parts instead of being held whole, twice, and its result once more. The result is
// exactly what converting the whole text gives.
//
// The encoding is read as for the whole file. A program is taken as UTF-8 (plain ASCII
// included) until a part is not; the whole file is Shift-JIS then, and it is read again from
// its start. ReadWhole is returned, with nothing written, for anything else: an input that is
// not such a file, or a result whose encoding cannot hold a character (the whole text names its
// line). Throws what the conversion throws (ConversionTooLarge, std::bad_alloc); nothing is
// written then either.
PartsOutcome ConvertInParts(const std::string& input, const CompiledDictionary& dictionary, const Options& options,
                            const std::function<Status(const PartProducer&)>& write, std::size_t minBytes,
                            Status& failure);

}  // namespace qm::cli
