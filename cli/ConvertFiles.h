#pragma once

#include <string>

#include "CommandLine.h"

namespace qm::cli {

enum ExitCode { kSuccess = 0, kUsageError = 1, kDictionaryRefused = 2, kFileError = 3 };

// Converts every file the options name and writes the results. Messages go to standard error.
// Every file is tried; the exit code is kDictionaryRefused when a dictionary was refused,
// otherwise kFileError when a file could not be read or written. A file whose conversion failed
// gets no output at all.
int ConvertFiles(const Options& options, const std::string& programFolder);

// The dictionary the desktop application starts with for a program file of this path; "-" is
// standard input, which has no type.
std::string DefaultDictionaryPath(const std::string& programFile, const std::string& programFolder);

}  // namespace qm::cli
