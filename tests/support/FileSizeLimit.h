// While an object lives, writes past a byte count fail with EFBIG, as on a
// full disk, and the SIGXFSZ that would end the test is ignored.  Scoped so
// that a failed assertion cannot leave the limit on for later tests.
#pragma once

#include <sys/resource.h>

#include <csignal>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        if (::getrlimit(RLIMIT_FSIZE, &previous) != 0)
            return;
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        active = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        if (active)
            ::setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // False when the limit could not be set: the test proves nothing then.
    bool Active() const { return active; }

private:
    void (*previousHandler)(int);
    rlimit previous{};
    bool active = false;
};
