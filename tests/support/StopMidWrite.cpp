// Preloaded into the converter by the tests that stop it halfway through writing. Writes into
// plain files go a small piece at a time, each after a pause, so that the program spends its
// time writing; cutting a file back lingers, so that a write made while a file is cut back has
// time to land. Every piece written and every file made is an event; at the event numbered
// QM_STOP_AT the program sends itself QM_STOP_SIGNAL (as `kill` from outside would), after
// renaming QM_STOP_MOVE_FROM to QM_STOP_MOVE_TO when they are set (a folder moved away).
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>

namespace {

constexpr size_t kPiece = 16 * 1024;
constexpr long kPauseNanoseconds = 300 * 1000;
constexpr long kLingerNanoseconds = 30 * 1000 * 1000;

std::atomic<long> events{0};

template <typename Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

void Pause(long nanoseconds) {
    timespec pause{0, nanoseconds};
    while (::nanosleep(&pause, &pause) != 0) {
    }
}

long Setting(const char* name) {
    const char* value = ::getenv(name);
    return value != nullptr ? ::atol(value) : 0;
}

void Event() {
    static const long stopAt = Setting("QM_STOP_AT");
    if (events.fetch_add(1) + 1 != stopAt)
        return;
    const char* from = ::getenv("QM_STOP_MOVE_FROM");
    const char* to = ::getenv("QM_STOP_MOVE_TO");
    if (from != nullptr && to != nullptr)
        ::rename(from, to);
    ::kill(::getpid(), int(Setting("QM_STOP_SIGNAL")));
}

bool IsPlainFile(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

int Made(int fd) {
    if (fd >= 0)
        Event();
    return fd;
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* data, size_t size) {
    static const auto real = Real<ssize_t (*)(int, const void*, size_t)>("write");
    if (!IsPlainFile(fd))
        return real(fd, data, size);
    Pause(kPauseNanoseconds);
    const ssize_t written = real(fd, data, size < kPiece ? size : kPiece);  // a short write
    Event();
    return written;
}

int ftruncate(int fd, off_t size) {
    static const auto real = Real<int (*)(int, off_t)>("ftruncate");
    const int result = real(fd, size);
    Pause(kLingerNanoseconds);
    return result;
}

int ftruncate64(int fd, off_t size) {
    return ftruncate(fd, size);
}

int mkstemp(char* name) {
    static const auto real = Real<int (*)(char*)>("mkstemp");
    return Made(real(name));
}

int mkstemp64(char* name) {
    return mkstemp(name);
}

int openat(int folder, const char* name, int flags, ...) {
    static const auto real = Real<int (*)(int, const char*, int, ...)>("openat");
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0) {
        va_list arguments;
        va_start(arguments, flags);
        mode = mode_t(va_arg(arguments, int));
        va_end(arguments);
    }
    const int fd = real(folder, name, flags, mode);
    return (flags & (O_CREAT | O_EXCL)) == (O_CREAT | O_EXCL) ? Made(fd) : fd;
}

int openat64(int folder, const char* name, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0) {
        va_list arguments;
        va_start(arguments, flags);
        mode = mode_t(va_arg(arguments, int));
        va_end(arguments);
    }
    return openat(folder, name, flags, mode);
}

}  // extern "C"
