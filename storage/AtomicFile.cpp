#include "storage/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr size_t kBufferSize = 1 << 16;
}  // namespace

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Open(const std::string& path)
{
    Abandon();
    finalPath = path;
    std::string pattern = path + ".tmpXXXXXX";
    fd = mkstemp(pattern.data());
    if (fd < 0) return false;
    tempPath = pattern;
    fchmod(fd, 0644);
    failed = false;
    buffer.clear();
    buffer.reserve(kBufferSize);
    return true;
}

bool AtomicFile::Flush()
{
    size_t done = 0;
    while (!failed && done < buffer.size()) {
        const ssize_t n = ::write(fd, buffer.data() + done, buffer.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) failed = true;
        else done += static_cast<size_t>(n);
    }
    buffer.clear();
    return !failed;
}

bool AtomicFile::Write(const void* data, size_t size)
{
    if (fd < 0 || failed) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (buffer.size() + size > kBufferSize && !Flush()) return false;
    if (size >= kBufferSize) {
        // Large blocks go straight through.
        buffer.assign(bytes, bytes + size);
        return Flush();
    }
    buffer.insert(buffer.end(), bytes, bytes + size);
    return true;
}

bool AtomicFile::Commit()
{
    if (fd < 0) return false;
    bool ok = Flush() && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    fd = -1;
    if (ok) ok = std::rename(tempPath.c_str(), finalPath.c_str()) == 0;
    if (!ok) ::unlink(tempPath.c_str());
    tempPath.clear();
    return ok;
}

void AtomicFile::Abandon()
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    if (!tempPath.empty()) {
        ::unlink(tempPath.c_str());
        tempPath.clear();
    }
    buffer.clear();
    failed = false;
}
