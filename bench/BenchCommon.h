#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <string>

namespace qm::bench {

// The command line both engine benchmarks take: [--lines N] [--skip-cli] [--converter PATH].
struct Options {
    std::size_t lines = 1'000'000;
    bool skipCli = false;
    std::string converter;  // default: quillmark-convert beside this program
};

// False, with the usage on standard error, for a word it does not know.
bool ParseOptions(int argc, char** argv, const char* program, Options& options);

// The folder of the running benchmark, where quillmark-convert is built too.
std::string ProgramFolder();

// The converter to time: the one named, else quillmark-convert beside this program.
std::string ConverterPath(const Options& options);

// The best wall time of rounds runs of work, in seconds.
template <class Work>
double BestSeconds(int rounds, Work&& work) {
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

}  // namespace qm::bench
