#include "platform/files/AtomicWrite.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A name no one else is likely to hold; the exclusive create below settles
// the rare clash by trying another.
std::string TemporaryName(const std::string& path, unsigned attempt)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const uint64_t mixed = static_cast<uint64_t>(now) * 0x9E3779B97F4A7C15ull ^
                           (static_cast<uint64_t>(::getpid()) << 20) ^ attempt;
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".tmp%08llx", static_cast<unsigned long long>(mixed >> 32));
    return path + suffix;
}

bool WriteAll(int fd, const void* data, size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}
}  // namespace

int WriteFileAtomically(const std::string& path, const void* data, size_t size)
{
    struct stat previous;
    const bool replacesFile = ::lstat(path.c_str(), &previous) == 0 && S_ISREG(previous.st_mode);

    // Created with 0666 so that the umask decides, as for any new file.
    std::string temporary;
    int fd = -1;
    for (unsigned attempt = 0; fd < 0; ++attempt) {
        temporary = TemporaryName(path, attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 100))
            return errno;
    }

    int error = 0;
    // The permission bits only: set-id bits are not for a file just written.
    if (replacesFile && ::fchmod(fd, previous.st_mode & 0777) != 0)
        error = errno;
    if (!error && !WriteAll(fd, data, size))
        error = errno;
    // The data is on disk before the name points at it.
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error)
        ::unlink(temporary.c_str());
    return error;
}
