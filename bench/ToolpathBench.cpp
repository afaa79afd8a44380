// quillmark-toolpath-bench: following a large RS274NGC program, against LinuxCNC's rs274.
//
//   quillmark-toolpath-bench [--lines N] [--reference FOLDER] [--converter PATH]
//
// Generates a CAM-like program of N lines (default 1,000,000: feed moves, arcs, drilling
// cycles) and times LinuxCNC's standalone interpreter on it (FOLDER/rs274, made by
// `make reference`; default build/reference beside the program folder) against
// quillmark-convert --toolpath and --summary. Goals: --toolpath at least 20 times faster than
// rs274; --summary no slower than --toolpath.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "CamProgram.h"
#include "FollowSession.h"
#include "TimedRun.h"

namespace fs = std::filesystem;

namespace {

struct Settings {
    std::size_t lines = 1'000'000;
    std::string reference = qm::bench::ProgramFolder() + "/../reference";
    std::string converter = qm::bench::ProgramFolder() + "/quillmark-convert";
};

bool Parse(int argc, char** argv, Settings& settings) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--lines") {
            settings.lines = std::strtoul(argv[i + 1], nullptr, 10);
        } else if (arg == "--reference") {
            settings.reference = argv[i + 1];
        } else if (arg == "--converter") {
            settings.converter = argv[i + 1];
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

void Report(const char* what, const qm::bench::TimedRun& run) {
    if (!run.started || run.exitCode != 0) {
        std::printf("  %-24s FAILED (%s exit %d)\n", what, run.error.c_str(), run.exitCode);
    } else {
        std::printf("  %-24s %8.3f s   peak memory %.0f MB\n", what, run.seconds,
                    double(run.peakKilobytes) / 1024);
    }
}

bool Ok(const qm::bench::TimedRun& run) {
    return run.started && run.exitCode == 0;
}

qm::bench::TimedRun Best(const std::vector<std::string>& command, int rounds) {
    qm::bench::TimedRun best = qm::bench::RunTimed(command, "/dev/null");
    for (int round = 1; round < rounds && Ok(best); ++round) {
        const qm::bench::TimedRun run = qm::bench::RunTimed(command, "/dev/null");
        if (!Ok(run) || run.seconds < best.seconds)
            best = run;
    }
    return best;
}

// Whether the converter knows the option: it follows a two-line program with it.
bool Supports(const std::string& converter, const std::string& option, const std::string& folder) {
    const std::string probe = folder + "/PROBE.NGC";
    std::ofstream(probe) << "G0 X1\nM2\n";
    return Ok(qm::bench::RunTimed(
        {"/bin/sh", "-c", "exec \"$0\" \"$1\" \"$2\" 2>/dev/null", converter, option, probe},
        folder + "/PROBE.OUT"));
}

void Goal(bool met, const char* what) {
    std::printf("  [%s] %s\n", met ? " met " : "MISSED", what);
}

// The start of the line at a 1-based number, and the line itself.
std::string LineAt(const std::string& text, std::size_t number) {
    std::size_t start = 0;
    for (std::size_t line = 1; line < number; ++line)
        start = text.find('\n', start) + 1;
    return text.substr(start, text.find('\n', start) + 1 - start);
}

// In process: the memory the followed program holds per move, and following again after a
// one-line edit in the middle (a straight cut moved by 0.5 mm, the state after it unchanged).
void FollowInProcess(const std::string& text, std::size_t lines) {
    using Clock = std::chrono::steady_clock;
    qm::interp::FollowSession session(qm::interp::Dialect::Rs274ngc);
    const auto started = Clock::now();
    session.Follow(text);
    const double followSeconds = std::chrono::duration<double>(Clock::now() - started).count();
    const auto& result = session.Result();
    const double perMove = double(result.BytesHeld()) / double(result.Moves().size());
    const double withContexts =
        double(result.BytesHeld() + session.CheckpointBytes()) / double(result.Moves().size());
    std::printf("  following in process     %8.3f s   %zu moves\n", followSeconds,
                result.Moves().size());
    std::printf("  memory per move held     %8.1f bytes (%.1f with the kept contexts)\n", perMove,
                withContexts);
    Goal(withContexts <= 128, "at most 128 bytes of memory per move held");

    std::vector<double> edits;
    for (std::size_t number = lines / 2; edits.size() < 21; ++number) {
        std::string line = LineAt(session.Text(), number);
        if (!line.starts_with("G1 X"))
            continue;
        line.insert(4, "0.5+");  // "G1 X0.5+12.000": X is read as 0.5 more
        line.insert(4, "[");
        line.insert(line.find(' ', 5), "]");
        const auto before = Clock::now();
        session.Replace(std::uint32_t(number), 1, line);
        edits.push_back(std::chrono::duration<double>(Clock::now() - before).count());
    }
    std::sort(edits.begin(), edits.end());
    std::printf(
        "  follow again after an edit %6.2f ms median, %.2f ms at most (%u lines followed)\n",
        edits[edits.size() / 2] * 1e3, edits.back() * 1e3, session.LinesFollowedLast());
    Goal(edits.back() < 0.020, "following again after a one-line edit under 20 ms");
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    if (!Parse(argc, argv, settings)) {
        std::fprintf(stderr,
                     "usage: quillmark-toolpath-bench [--lines N] [--reference FOLDER] "
                     "[--converter PATH]\n");
        return 1;
    }
    char folderTemplate[] = "/tmp/quillmark-toolpath-bench-XXXXXX";
    const char* folder = ::mkdtemp(folderTemplate);
    if (folder == nullptr)
        return std::perror("temporary folder"), 1;
    const std::string program = std::string(folder) + "/BENCH.NGC";
    const std::string text = qm::bench::MakeCamProgram(settings.lines);
    std::ofstream(program, std::ios::binary) << text;
    std::printf("Toolpath: RS274NGC program of %zu lines, %.1f MB\n", settings.lines,
                double(text.size()) / 1e6);

    const std::string rs274 = settings.reference + "/rs274";
    qm::bench::TimedRun reference;
    if (::access(rs274.c_str(), X_OK) != 0) {
        std::printf("  rs274                    not run: %s is missing (make reference)\n",
                    rs274.c_str());
    } else {
        reference = Best({rs274, "-t", settings.reference + "/tool.tbl", "-g", program}, 1);
        Report("rs274 (LinuxCNC 2.9)", reference);
    }
    qm::bench::TimedRun toolpath, summary;
    const bool converter = ::access(settings.converter.c_str(), X_OK) == 0;
    for (const char* option : {"--toolpath", "--summary"}) {
        qm::bench::TimedRun& run = option[2] == 't' ? toolpath : summary;
        const std::string label = std::string("quillmark-convert ") + option;
        if (!converter || !Supports(settings.converter, option, folder)) {
            std::printf("  %-24s not available\n", label.c_str());
            continue;
        }
        run = Best({settings.converter, option, program}, 3);
        Report(label.c_str(), run);
    }
    if (Ok(reference) && Ok(toolpath)) {
        std::printf("  rs274 / --toolpath       %8.1f times\n",
                    reference.seconds / toolpath.seconds);
        Goal(toolpath.seconds * 20 <= reference.seconds,
             "--toolpath at least 20x faster than rs274");
    } else {
        std::printf("  [  --  ] --toolpath at least 20x faster than rs274: not measured\n");
    }
    if (Ok(toolpath) && Ok(summary)) {
        Goal(summary.seconds <= toolpath.seconds, "--summary no slower than --toolpath");
    } else {
        std::printf("  [  --  ] --summary no slower than --toolpath: not measured\n");
    }
    FollowInProcess(text, settings.lines);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return 0;
}
