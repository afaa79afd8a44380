#include "TimedRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace qm::bench {

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
    int status = 0;
    struct rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            run.error = std::strerror(errno);
            return run;
        }
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKilobytes = usage.ru_maxrss;
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

}  // namespace qm::bench
