// quillmark-convert: converts NC programs with a dictionary from the command line.
#include <malloc.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ConvertFiles.h"
#include "FollowCommands.h"
#include "ListMissing.h"
#include "ProgramFolder.h"
#include "UndoOnSignal.h"

namespace {

// The program folder of this executable, where the default dictionaries live.
std::string ProgramFolder(const char* argv0) {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    std::filesystem::path exe = length > 0 ? std::string(path, std::size_t(length)) : argv0;
    return qm::ProgramFolderFor(exe.parent_path()).string();
}

}  // namespace

int main(int argc, char** argv) {
    // Buffers of a dictionary's size come from the heap rather than fresh mappings, so that
    // the file's bytes and decoded text, once parsed, are reused instead of new pages faulted
    // in; a program's larger buffers are still mapped and given back whole.
    ::mallopt(M_MMAP_THRESHOLD, 1 << 20);
    // A large conversion stopped with Ctrl-C leaves neither a temporary file nor part of its
    // result behind.
    qm::UndoUnfinishedWritesOnSignals();
    const std::string programFolder = ProgramFolder(argv[0]);
    std::string error;
    const auto options = qm::cli::ParseCommandLine({argv + 1, argv + argc}, error);
    if (!options) {
        std::fprintf(stderr, "quillmark-convert: %s\n\n%s", error.c_str(),
                     qm::cli::UsageText(programFolder).c_str());
        return qm::cli::kUsageError;
    }
    if (options->help) {
        std::fputs(qm::cli::UsageText(programFolder).c_str(), stdout);
        return qm::cli::kSuccess;
    }
    if (options->version) {
        std::printf("quillmark-convert (Quillmark) %s\n", QM_VERSION);
        return qm::cli::kSuccess;
    }
    try {
        if (options->Follows()) return qm::cli::RunFollowCommand(*options, programFolder);
        if (options->missing) return qm::cli::ListMissingWords(*options, programFolder);
        return qm::cli::ConvertFiles(*options, programFolder);
    } catch (const std::bad_alloc&) {
        std::fputs("quillmark-convert: not enough memory.\n", stderr);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "quillmark-convert: %s\n", failure.what());
    }
    return qm::cli::kFileError;
}
