// quillmark-missing-bench: listing the code words a dictionary lacks against converting.
//
//   quillmark-missing-bench [--lines N] [--skip-cli] [--converter PATH]
//
// On a generated NC program and a 10,001-word dictionary it times the listing of the missing
// words and the conversion, first in the engine (best of five), then end to end through
// quillmark-convert --missing and quillmark-convert (best of three). The listing is meant to
// take less than half the time of the conversion.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "BenchCommon.h"
#include "CodeWords.h"
#include "DictionaryFile.h"
#include "FastConvert.h"
#include "FileAccess.h"
#include "NcWorkload.h"
#include "TimedRun.h"

namespace fs = std::filesystem;

namespace {

using qm::bench::BestSeconds;
using qm::bench::Options;

void Goal(bool met, const char* what) {
    std::printf("  [%s] %s\n", met ? " met " : "MISSED", what);
}

void MeasureEngine(const std::string& text, const qm::DictionaryTable& table) {
    std::size_t missing = 0;
    const double listing =
        BestSeconds(5, [&] { missing = qm::MissingCodeWords(text, table).size(); });
    const qm::CompiledDictionary compiled(table);
    std::size_t bytes = 0;
    const double one = BestSeconds(5, [&] { bytes = compiled.Convert(text, false, 1).size(); });
    const double all = BestSeconds(5, [&] { bytes = compiled.Convert(text, false, 0).size(); });
    std::printf("Engine (the text in memory):\n");
    std::printf("  missing words listed        %8.1f ms  (%zu distinct words missing)\n",
                1000 * listing, missing);
    std::printf("  converted, 1 thread         %8.1f ms  (output %.1f MB)\n", 1000 * one,
                double(bytes) / 1e6);
    std::printf("  converted, %u threads        %8.1f ms\n",
                std::max(1u, std::thread::hardware_concurrency()), 1000 * all);
    std::printf("  listing / fastest conversion  %.2f\n", listing / std::min(one, all));
    Goal(listing < 0.5 * std::min(one, all), "listing takes less than half the time of converting");
}

qm::bench::TimedRun Best(const std::vector<std::string>& command) {
    qm::bench::TimedRun best = qm::bench::RunTimed(command);
    for (int round = 1; round < 3 && best.exitCode == 0; ++round) {
        const qm::bench::TimedRun run = qm::bench::RunTimed(command);
        if (run.exitCode != 0 || run.seconds < best.seconds)
            best = run;
    }
    return best;
}

void Report(const char* what, const qm::bench::TimedRun& run) {
    if (!run.started || run.exitCode != 0) {
        std::printf("  %-27s FAILED (%s, exit %d)\n", what, run.error.c_str(), run.exitCode);
    } else {
        std::printf("  %-27s %8.3f s   peak memory %.0f MB\n", what, run.seconds,
                    double(run.peakKilobytes) / 1024);
    }
}

void MeasureConverter(const Options& options, const std::string& text,
                      const qm::DictionaryTable& table) {
    const std::string converter =
        qm::bench::ConverterPath(options);
    std::printf("quillmark-convert end to end (read, decode, work, write):\n");
    if (::access(converter.c_str(), X_OK) != 0)
        return void(std::printf("  not run: %s is missing\n", converter.c_str()));
    char folderTemplate[] = "/tmp/quillmark-missing-bench-XXXXXX";
    const char* folder = ::mkdtemp(folderTemplate);
    if (folder == nullptr)
        return void(std::printf("  not run: no temporary folder\n"));
    const std::string dictionary = std::string(folder) + "/BENCH.DIC",
                      program = std::string(folder) + "/BENCH.NC";
    const qm::Status saved = qm::SaveDictionary(dictionary, table);
    const qm::Status written = qm::WriteFileSafely(program, text);
    if (!saved.ok() || !written.ok()) {
        std::printf("  not run: %s\n", (saved.ok() ? written : saved).message().c_str());
    } else {
        // The list goes to standard output: the shell sends it away and hands over to the
        // converter.
        const qm::bench::TimedRun listing =
            Best({"/bin/sh", "-c", "exec \"$0\" --missing -d \"$1\" \"$2\" >/dev/null", converter,
                  dictionary, program});
        const qm::bench::TimedRun converting =
            Best({converter, "-d", dictionary, program, "-o", std::string(folder) + "/BENCH.OUT"});
        Report("--missing", listing);
        Report("conversion", converting);
        if (listing.exitCode == 0 && converting.exitCode == 0) {
            std::printf("  listing / conversion          %.2f\n",
                        listing.seconds / converting.seconds);
            Goal(listing.seconds < 0.5 * converting.seconds,
                 "--missing takes less than half the time of converting");
        }
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!qm::bench::ParseOptions(argc, argv, "quillmark-missing-bench", options))
        return 1;
    const std::string text = qm::bench::MakeNcProgram(options.lines, 1);
    const qm::DictionaryTable table = qm::bench::MakeNcDictionary(10001, 7);
    std::printf("Missing words: NC program of %zu lines, %.1f MB; dictionary of %d words\n\n",
                options.lines, double(text.size()) / 1e6, table.LastIndex + 1);
    MeasureEngine(text, table);
    if (!options.skipCli) {
        std::printf("\n");
        MeasureConverter(options, text, table);
    }
    return 0;
}
