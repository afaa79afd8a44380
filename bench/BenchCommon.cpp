#include "BenchCommon.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace qm::bench {

bool ParseOptions(int argc, char** argv, const char* program, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--skip-cli") {
            options.skipCli = true;
        } else if (arg == "--lines" && i + 1 < argc) {
            options.lines = std::strtoul(argv[++i], nullptr, 10);
        } else if (arg == "--converter" && i + 1 < argc) {
            options.converter = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--lines N] [--skip-cli] [--converter PATH]\n", program);
            return false;
        }
    }
    return true;
}

std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    return std::filesystem::path(std::string(path, std::size_t(length))).parent_path().string();
}

std::string ConverterPath(const Options& options) {
    return options.converter.empty() ? ProgramFolder() + "/quillmark-convert" : options.converter;
}

}  // namespace qm::bench
