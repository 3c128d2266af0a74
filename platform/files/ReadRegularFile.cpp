#include "platform/files/ReadRegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd; }

private:
    int fd;
};
}  // namespace

std::string ReadRegularFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& content)
{
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return std::strerror(errno);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return std::strerror(errno);
    if (!S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file";
    if (static_cast<uint64_t>(st.st_size) > maxBytes)
        return "it has " + std::to_string(st.st_size) + " bytes, more than the " + std::to_string(maxBytes) +
               " such a file can have";
    std::vector<uint8_t> bytes(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::strerror(errno);
        if (n == 0)
            break;  // shrunk meanwhile: what is there is what the decoder sees
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    content = std::move(bytes);
    return {};
}
