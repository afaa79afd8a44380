// The converter stopped halfway through writing, by a signal or a limit: what it was writing is
// either left as it was or complete, and no temporary file stays behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "ConverterFixture.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

// How the converter's standard output is set up.
enum class Output { None, Replace, Append };

struct Stop {
    long atEvent = 0;  // see StopMidWrite.cpp; 0: never
    int signal = SIGTERM;
    std::string moveFrom, moveTo;
};

class StoppedConverterTest : public test::ConverterFixture {
  protected:
    StoppedConverterTest() : ConverterFixture("0,\"G00\",\"RAPID\"\r\n") {
        std::string program;
        while (program.size() < (std::size_t(5) << 20))
            program += "N1 G00 X1. Y2.\r\n";  // two parts
        WriteBytes(File("P.NC"), program);
        complete_ = Run({"-d", dictionary_, File("P.NC")}).out;
    }

    // Runs the converter in the test's folder with the writes slowed down and the given stop;
    // standard output goes to OUT. Waits for it to end.
    void RunStopped(const std::vector<std::string>& args, Output output, const Stop& stop) {
        std::vector<std::string> argv{QM_CONVERTER, "-d", dictionary_};
        argv.insert(argv.end(), args.begin(), args.end());
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const int flags = O_WRONLY | O_CREAT | (output == Output::Append ? O_APPEND : O_TRUNC);
            const int out =
                ::open(output == Output::None ? "/dev/null" : File("OUT").c_str(), flags, 0644);
            if (out < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::chdir(folder_.path().c_str()) != 0)
                ::_exit(126);
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            ::setenv("LD_PRELOAD", QM_STOP_MID_WRITE, 1);
            ::setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
            ::setenv("QM_STOP_AT", std::to_string(stop.atEvent).c_str(), 1);
            ::setenv("QM_STOP_SIGNAL", std::to_string(stop.signal).c_str(), 1);
            if (!stop.moveFrom.empty()) {
                ::setenv("QM_STOP_MOVE_FROM", stop.moveFrom.c_str(), 1);
                ::setenv("QM_STOP_MOVE_TO", stop.moveTo.c_str(), 1);
            }
            std::vector<char*> pointers;
            for (std::string& arg : argv)
                pointers.push_back(arg.data());
            pointers.push_back(nullptr);
            ::execv(pointers[0], pointers.data());
            ::_exit(127);
        }
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        ASSERT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0))
            << status;
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

    static std::vector<std::string> LeftBehind(const std::string& folder) {
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".quillmark-"))
                left.push_back(name);
        }
        return left;
    }

    std::string complete_;
    std::mt19937 random_{24};
};

TEST_F(StoppedConverterTest, StandardOutputIntoAFileIsCutBackWithNoWriteLandingAfter) {
    for (const Output output : {Output::Replace, Output::Append}) {
        for (const Stop& stop : Trials(6, Pieces(complete_.size()))) {
            SCOPED_TRACE(std::to_string(stop.atEvent) + " signal " + std::to_string(stop.signal));
            const std::string before = output == Output::Append ? "earlier\n" : "";
            WriteBytes(File("OUT"), before);
            RunStopped({File("P.NC")}, output, stop);
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
            RunStopped({"-o", File("R.txt"), File("P.NC")}, Output::None, stop);
            const std::string after = ReadBytes(File("R.txt"));
            EXPECT_TRUE(after == old || after == complete_) << after.size() << " bytes";
            EXPECT_EQ(fs::exists(File("second")) && fs::equivalent(File("R.txt"), File("second")),
                      linked);
            EXPECT_EQ(LeftBehind(folder_.path()), std::vector<std::string>());
        }
    }
}

TEST_F(StoppedConverterTest, ManyFilesIntoAFolderLeaveNoTemporaryFile) {
    std::vector<std::string> inputs;
    for (int i = 0; i < 20; ++i) {
        inputs.push_back("F" + std::to_string(i) + ".NC");
        WriteBytes(File(inputs.back()), "G00 X" + std::to_string(i) + "\r\n");
    }
    fs::create_directory(File("out"));
    std::vector<std::string> args{"-o", "out"};  // relative, as a script would name it
    args.insert(args.end(), inputs.begin(), inputs.end());
    for (const Stop& stop : Trials(12, 2 * long(inputs.size()))) {  // a file made and written, each
        SCOPED_TRACE(std::to_string(stop.atEvent) + " signal " + std::to_string(stop.signal));
        RunStopped(args, Output::None, stop);
        EXPECT_EQ(LeftBehind(File("out")), std::vector<std::string>());
    }
    // The folder moved away while a result is being written into it.
    for (const long at : {1L, 2L, 5L}) {
        RunStopped(args, Output::None, {at, SIGTERM, "out", "moved"});
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
        const test::ProcessResult result = test::RunProcess(
            {"/bin/sh", "-c",
             "cd '" + folder_.path().string() + "' && ulimit -f 1024 && '" QM_CONVERTER "' -d '" +
                 dictionary_ + "' " + row.command});
        EXPECT_EQ(result.exitCode, 3) << result.err;
        EXPECT_NE(result.err.find("File too large"), std::string::npos) << result.err;
        EXPECT_EQ(ReadBytes(File(row.target)), row.after);
        EXPECT_EQ(LeftBehind(folder_.path()), std::vector<std::string>());
    }
}

}  // namespace
}  // namespace qm
