#pragma once

#include <string>

#include "CommandLine.h"
#include "SettingsStore.h"

namespace qm::cli {

enum ExitCode { kSuccess = 0, kUsageError = 1, kDictionaryRefused = 2, kFileError = 3 };

// Converts every file the options name and writes the results. Messages go to standard error.
// Every file is tried; the exit code is kDictionaryRefused when a dictionary was refused,
// otherwise kFileError when a file could not be read or written. A file whose conversion failed
// gets no output at all.
int ConvertFiles(const Options& options, const std::string& programFolder);

// The dictionary the desktop application uses for a program file of this path: the one the
// user's settings keep for its type, else the type's default in the program folder; for a type
// without a dictionary of its own, the current dictionary. "-" is standard input, which has no
// type.
std::string DefaultDictionaryPath(const std::string& programFile, const std::string& programFolder,
                                  const SettingsStore& settings);

}  // namespace qm::cli
