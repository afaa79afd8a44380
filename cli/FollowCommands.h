#pragma once

#include <string>

#include "CommandLine.h"

namespace qm::cli {

// Exit status of a follow command when a problem was found or a program could not be
// followed to its end.
inline constexpr int kProblemsFound = 4;

// --toolpath, --check, --summary, --state: each FILE followed as its controller would.
int RunFollowCommand(const Options& options, const std::string& programFolder);

}  // namespace qm::cli
