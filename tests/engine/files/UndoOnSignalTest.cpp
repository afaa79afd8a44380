// A program stopped by a signal halfway through writing leaves nothing of the write behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "UndoOnSignal.h"

namespace qm {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(UndoOnSignalDeathTest, AStoppedProgramRemovesItsTemporaryFileAndCutsBackItsOutput) {
    TempFolder folder;
    const std::string temporary = folder.File(".partial"), output = folder.File("OUT"),
                      done = folder.File(".done");
    WriteBytes(temporary, "part of a result");
    WriteBytes(done, "a finished result");
    WriteBytes(output, "earlier\n");
    EXPECT_EXIT(
        {
            UndoUnfinishedWritesOnSignals();
            const UndoOnSignal removed = UndoOnSignal::RemoveFile(AT_FDCWD, temporary);
            UndoOnSignal finished = UndoOnSignal::RemoveFile(AT_FDCWD, done);
            finished.Drop();
            const int fd = ::open(output.c_str(), O_WRONLY | O_APPEND);
            const UndoOnSignal cut = UndoOnSignal::CutBack(fd, 8);
            if (::write(fd, "half a result", 13) != 13)
                std::_Exit(1);
            ::kill(::getpid(), SIGTERM);  // as from outside: the signal thread takes it
            for (;;)
                ::pause();
        },
        ::testing::KilledBySignal(SIGTERM), "");
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_EQ(ReadBytes(done), "a finished result") << "what was dropped is kept";
    EXPECT_EQ(ReadBytes(output), "earlier\n");
}

}  // namespace
}  // namespace qm
