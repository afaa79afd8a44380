// The converter stopped halfway through writing, by a signal or a limit: what it was writing is
// either left as it was or complete, and no temporary file stays behind.
#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <random>

#include "ConverterFixture.h"

namespace qm::test {
namespace {

namespace fs = std::filesystem;

const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

struct Stop {
    long atEvent = 0;  // see StopMidWrite.cpp; 0: never
    int signal = SIGTERM;
    std::string moveFrom, moveTo;
};

class StoppedConverterTest : public ConverterFixture {
  protected:
    StoppedConverterTest() : ConverterFixture("0,\"G00\",\"RAPID\"\r\n") {
        Program("P.NC", Repeated("N1 G00 X1. Y2.\r\n", std::size_t(5) << 20));  // two parts
        complete_ = Run({"-d", dictionary_, File("P.NC")}).out;
    }

    // Runs the converter in the test's folder with the writes slowed down and the given stop,
    // its arguments followed by the redirections of its standard output. Waits for it to end.
    void RunStopped(const std::string& arguments, const Stop& stop) {
        const std::string move = stop.moveFrom.empty() ? ""
                                                       : " QM_STOP_MOVE_FROM=" + stop.moveFrom +
                                                             " QM_STOP_MOVE_TO=" + stop.moveTo;
        const ProcessResult result =
            Shell("ulimit -c 0; LD_PRELOAD=" + Quoted(QM_STOP_MID_WRITE) +
                  " ASAN_OPTIONS=verify_asan_link_order=0" + " QM_STOP_AT=" +
                  std::to_string(stop.atEvent) + " QM_STOP_SIGNAL=" + std::to_string(stop.signal) +
                  move + " exec " + Quoted(QM_CONVERTER) + " -d Test.dic " + arguments);
        ASSERT_TRUE(result.exitCode == 0 || result.exitCode == -1)
            << result.exitCode << result.err;  // -1: signalled
    }

    // The stops of the trials: every signal in turn, at events spread over a run of `events`.
    std::vector<Stop> Trials(int trials, long events) {
        std::vector<Stop> stops;
        std::uniform_int_distribution<long> at(1, events);
        for (int trial = 0; trial < trials; ++trial) {
            stops.push_back({at(random_), kStopSignals[trial % std::size(kStopSignals)], {}, {}});
        }
        return stops;
    }

    // The pieces a result of this size is written in, as StopMidWrite cuts them.
    static long Pieces(std::size_t bytes) { return long(bytes / (16 * 1024)) + 1; }

    std::string complete_;
    std::mt19937 random_{24};
};

TEST_F(StoppedConverterTest, StandardOutputIntoAFileIsCutBackWithNoWriteLandingAfter) {
    for (const std::string output : {" > OUT", " >> OUT"}) {
        for (const Stop& stop : Trials(6, Pieces(complete_.size()))) {
            SCOPED_TRACE(std::to_string(stop.atEvent) + " signal " + std::to_string(stop.signal) +
                         output);
            const std::string before = output == " >> OUT" ? "earlier\n" : "";
            WriteBytes(File("OUT"), before);
            RunStopped("P.NC" + output, stop);
            const std::string after = ReadBytes(File("OUT"));
            EXPECT_TRUE(after == before || after == before + complete_) << after.size() << " bytes";
        }
    }
}

TEST_F(StoppedConverterTest, AFileWithSeveralLinksIsLeftOldOrCompleteInEveryLink) {
    for (const bool linked : {false, true}) {
        for (const Stop& stop : Trials(5, Pieces(complete_.size()))) {
            SCOPED_TRACE(std::to_string(stop.atEvent) + " signal " + std::to_string(stop.signal));
            fs::remove(File("second"));
            WriteBytes(File("R.txt"), std::string(complete_.size() + 4096, 'o'));
            if (linked)
                fs::create_hard_link(File("R.txt"), File("second"));
            const std::string old = ReadBytes(File("R.txt"));
            RunStopped("-o R.txt P.NC", stop);
            const std::string after = ReadBytes(File("R.txt"));
            EXPECT_TRUE(after == old || after == complete_) << after.size() << " bytes";
            EXPECT_EQ(fs::exists(File("second")) && fs::equivalent(File("R.txt"), File("second")),
                      linked);
            EXPECT_EQ(LeftBehind(folder_.path()), std::vector<std::string>());
        }
    }
}

TEST_F(StoppedConverterTest, ManyFilesIntoAFolderLeaveNoTemporaryFile) {
    const int files = 20;
    std::string args = "-o out";  // relative, as a script would name it
    for (int i = 0; i < files; ++i) {
        args += " " + std::to_string(i) + ".NC";
        Program(std::to_string(i) + ".NC", "G00 X" + std::to_string(i) + "\r\n");
    }
    fs::create_directory(File("out"));
    for (const Stop& stop : Trials(12, 2 * files)) {  // a file made and written, each
        SCOPED_TRACE(std::to_string(stop.atEvent) + " signal " + std::to_string(stop.signal));
        RunStopped(args, stop);
        EXPECT_EQ(LeftBehind(File("out")), std::vector<std::string>());
    }
    // The folder moved away while a result is being written into it.
    for (const long at : {1L, 2L, 5L}) {
        RunStopped(args, {at, SIGTERM, "out", "moved"});
        EXPECT_EQ(LeftBehind(File("moved")), std::vector<std::string>()) << at;
        fs::rename(File("moved"), File("out"));
    }
}

// Under `ulimit -f` a write past the limit fails with "File too large" rather than ending the
// converter; whatever it was writing is left as it was.
TEST_F(StoppedConverterTest, AFileSizeLimitFailsTheWriteAndLeavesEveryOutputAsItWas) {
    const struct {
        const char* name;
        std::string command;
        std::string target;
        std::string after;  // what the shell leaves before the converter starts
    } rows[] = {
        {"-o", "-o R.txt P.NC", "R.txt", "earlier\n"},
        {"> OUT, in parts", "P.NC > OUT", "OUT", ""},
        {">> OUT, in parts", "P.NC >> OUT", "OUT", "earlier\n"},
        {"> OUT, whole", "< P.NC > OUT", "OUT", ""},
        {">> OUT, whole", "< P.NC >> OUT", "OUT", "earlier\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteBytes(File(row.target), "earlier\n");
        const ProcessResult result = Shell("ulimit -f 1024 && convert -d Test.dic " + row.command);
        EXPECT_EQ(result.exitCode, 3) << result.err;
        EXPECT_THAT(result.err, HasSubstr("File too large"));
        EXPECT_EQ(ReadBytes(File(row.target)), row.after);
        EXPECT_EQ(LeftBehind(folder_.path()), std::vector<std::string>());
    }
}

}  // namespace
}  // namespace qm::test
