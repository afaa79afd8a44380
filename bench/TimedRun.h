#pragma once

#include <string>
#include <vector>

namespace qm::bench {

struct TimedRun {
    bool started = false;
    int exitCode = -1;       // -1 when it did not exit normally
    double seconds = 0;      // wall time from start to exit
    long peakKilobytes = 0;  // the child's largest resident set
    std::string error;       // why it could not start
};

// Runs argv[0] with the arguments, waiting for it; its standard output goes to the file
// standardOutput when one is named, else where ours goes.
TimedRun RunTimed(const std::vector<std::string>& argv, const std::string& standardOutput = {});

}  // namespace qm::bench
