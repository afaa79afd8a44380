#include "TimedRun.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>

extern char** environ;

namespace qm::bench {
namespace {

// The child's peak resident set so far (VmHWM), in kilobytes; 0 once it has ended. The peak that
// wait4 reports cannot be used: a child spawned the vfork way starts out in our memory, and the
// kernel keeps that as its peak across the exec.
long PeakKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) return std::atol(line.c_str() + 6);
    }
    return 0;
}

// Waits for the child's end, looking at its peak memory every millisecond meanwhile; the end
// itself is seen at once through a process descriptor, so the wall time stays exact.
void WatchUntilEnd(pid_t pid, long& peakKilobytes) {
    const int fd = int(::syscall(SYS_pidfd_open, pid, 0));
    for (;;) {
        peakKilobytes = std::max(peakKilobytes, PeakKilobytes(pid));
        if (fd < 0) return;  // no process descriptors: the wait alone
        struct pollfd ended{fd, POLLIN, 0};
        if (::poll(&ended, 1, 1) != 0) break;
    }
    ::close(fd);
}

}  // namespace

TimedRun RunTimed(const std::vector<std::string>& argv, const std::string& standardOutput) {
    TimedRun run;
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (!standardOutput.empty()) {
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, standardOutput.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        run.error = std::strerror(error);
        return run;
    }
    run.started = true;
    WatchUntilEnd(pid, run.peakKilobytes);
    int status = 0;
    struct rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            run.error = std::strerror(errno);
            return run;
        }
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

}  // namespace qm::bench
