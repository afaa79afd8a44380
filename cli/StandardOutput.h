#pragma once

#include <string_view>

#include "FileAccess.h"
#include "Status.h"

namespace qm::cli {

// Writes bytes to standard output, whatever it is.
Status WriteStandardOutput(std::string_view bytes);

// Writes a whole result to standard output. A plain file written at its end is cut back to
// where it ended should the write fail (a full disk) or the program be stopped, so that nothing
// of the result stays.
Status WriteWholeToStandardOutput(std::string_view bytes);

// Writes a result that produce makes part by part to standard output. A plain file that is
// written at its end (quillmark-convert P.NC > OUT, or >>) gets the parts as they come; should
// produce fail or throw, the file is cut back to where it ended, so nothing of the result stays.
// Anything else — a pipe, a terminal, the middle of a file — gets the result only once it is
// complete.
Status WriteStandardOutputInParts(const PartProducer& produce);

}  // namespace qm::cli
