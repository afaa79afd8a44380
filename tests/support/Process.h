#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm::test {

struct ProcessResult {
    int exitCode = -1;  // -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs a program with the given arguments (argv[0] is the program's path), feeding it input on
// standard input, and waits for it to end.
ProcessResult RunProcess(const std::vector<std::string>& argv, std::string_view input = {});

}  // namespace qm::test
