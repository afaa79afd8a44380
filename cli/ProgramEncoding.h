#pragma once

#include <string_view>

#include "CommandLine.h"
#include "TextCodec.h"

namespace qm::cli {

// How a program's bytes are read: by detection, unless the user named an encoding.
FileEncoding ProgramEncoding(std::string_view bytes, EncodingChoice choice);

// The program's own encoding (UTF-8 for plain ASCII) unless the user named one; UTF-8 keeps a
// program's byte-order mark.
FileEncoding ResultEncoding(FileEncoding program, EncodingChoice choice);

}  // namespace qm::cli
