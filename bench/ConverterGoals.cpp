#include "ConverterGoals.h"

#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>

#include "DictionaryFile.h"
#include "FileAccess.h"
#include "TimedRun.h"

namespace qm::bench {
namespace {

constexpr int kOneLineRounds = 30;
constexpr const char* kOneLineProgram = "N10 G00 G90 X-75. Y-75. S1200 M03\r\n";

std::string CommandOutput(const std::string& command) {
    std::string output;
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return output;
    std::array<char, 4096> buffer;
    while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe.get()))
        output.append(buffer.data(), got);
    return output;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::string left, right;
    return ReadWholeFile(a, left).ok() && ReadWholeFile(b, right).ok() && left == right;
}

}  // namespace

void CheckLibraries(const std::string& converter, ConverterGoalFigures& f) {
    const std::string libraries = CommandOutput("ldd '" + converter + "' 2>&1");
    f.lddRan = libraries.find("libc.so") != std::string::npos;
    const std::regex window(
        "(libQt6(Widgets|Gui|PrintSupport|OpenGL)|libqscintilla2|libX11|libxcb|libGL|libEGL)[^ ]*");
    for (auto match = std::sregex_iterator(libraries.begin(), libraries.end(), window);
         match != std::sregex_iterator(); ++match) {
        f.windowLibraries += (f.windowLibraries.empty() ? "" : " ") + match->str();
    }
    std::printf("  ldd %s: %s\n", converter.c_str(),
                !f.lddRan                   ? "did not run"
                : f.windowLibraries.empty() ? "no window library"
                                            : f.windowLibraries.c_str());
}

void MeasureOneLine(const std::string& converter, const std::string& baseline,
                    const DictionaryTable& table, ConverterGoalFigures& f) {
    char folderTemplate[] = "/tmp/quillmark-oneline-XXXXXX";
    const char* made = ::mkdtemp(folderTemplate);
    if (made == nullptr)
        return void(std::printf("  one-line program: not run, no temporary folder\n"));
    const std::string folder = made, dictionary = folder + "/BENCH.DIC",
                      program = folder + "/ONE.NC";
    const std::string ours = folder + "/converter.out", theirs = folder + "/baseline.out";
    if (SaveDictionary(dictionary, table).ok() && WriteFileSafely(program, kOneLineProgram).ok()) {
        double best = 1e300, bestBaseline = 1e300;
        bool ran = true;
        for (int round = 0; round < kOneLineRounds && ran;
             ++round) {  // in turn, so both see the same load
            const TimedRun run = RunTimed({converter, "-d", dictionary, program}, ours);
            const TimedRun plain = RunTimed({baseline, dictionary, program}, theirs);
            ran = run.exitCode == 0 && plain.exitCode == 0;
            best = std::min(best, run.seconds);
            bestBaseline = std::min(bestBaseline, plain.seconds);
        }
        if (ran) {
            f.oneLineSeconds = best;
            f.baselineSeconds = bestBaseline;
            std::printf(
                "  one-line program, converter  %7.2f ms   plain C++ program %7.2f ms  (best of "
                "%d; outputs %s)\n",
                best * 1000, bestBaseline * 1000, kOneLineRounds,
                SameFile(ours, theirs) ? "agree" : "DIFFER");
        } else {
            std::printf("  one-line program: a run failed (is %s built?)\n", baseline.c_str());
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void MeasureReadOnce(const std::string& file, ConverterGoalFigures& f) {
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        const TimedRun run = RunTimed({"wc", "-l", file}, "/dev/null");
        if (run.exitCode != 0)
            return void(std::printf("  wc -l: did not run\n"));
        best = std::min(best, run.seconds);
    }
    f.readOnceSeconds = best;
    std::printf("  read once (wc -l)          %9.3f s\n", best);
}

}  // namespace qm::bench
