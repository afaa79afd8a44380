#pragma once

#include <string>

#include "CommandLine.h"
#include "Dialect.h"
#include "FollowResult.h"

namespace qm::cli {

// --state LINE FILE: the state in effect after LINE, one group a line, each code word with its
// comment from the file's dictionary. Returns the exit status.
int PrintState(const Options& options, const std::string& file, interp::Dialect dialect,
               const interp::FollowResult& result, const std::string& programFolder);

}  // namespace qm::cli
