#include "platform/files/AtomicFile.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kBufferSize = 1 << 16;
constexpr const char* kTempInfix = ".tmp";
constexpr const char* kHiddenTempPrefix = ".tmp-";
constexpr size_t kTempLetters = 6;
constexpr const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kTempAttempts = 100;

// The name a write of path ends up at: path itself, or for a followed
// symbolic link the file at the end of its chain of links.  False for a
// followed link that leads nowhere (dangling, a loop).
bool FinalName(const std::string& path, bool followLink, std::string& target)
{
    struct stat st;
    if (!followLink || ::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        target = path;
        return true;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return false;
    target = resolved;
    std::free(resolved);
    return true;
}

// What every temporary name of finalPath starts with, inside its folder.  A
// hidden one leaves the final name out, so that a final name near the
// length limit still leaves room for it; such a name gets the hidden one
// whatever the options say, or it could never be written.
std::string TempPrefix(const std::string& finalPath, bool hidden)
{
    const size_t slash = finalPath.rfind('/');
    std::string name = finalPath.substr(slash == std::string::npos ? 0 : slash + 1);
    if (hidden || name.size() + std::strlen(kTempInfix) + kTempLetters > NAME_MAX) return kHiddenTempPrefix;
    return name + kTempInfix;
}

std::string RandomLetters(int attempt)
{
    uint8_t random[kTempLetters];
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random)) {
        // No entropy yet (early boot): the clock and the process still make
        // a clash unlikely, and O_EXCL makes one harmless.
        uint64_t mix = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                       (static_cast<uint64_t>(::getpid()) << 32) ^ (static_cast<uint64_t>(attempt) * 0x9E3779B97F4A7C15u);
        for (auto& byte : random) {
            mix = (mix ^ (mix >> 31)) * 0xBF58476D1CE4E5B9u;
            byte = static_cast<uint8_t>(mix >> 56);
        }
    }
    std::string letters;
    for (const uint8_t byte : random) letters += kLetters[byte % (sizeof kLetters - 1)];
    return letters;
}

bool IsTempLetter(char c) { return c != '\0' && std::strchr(kLetters, c) != nullptr; }

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Locks a just-created temporary file and checks that the name still leads
// to it: a cleaner that took it for a leftover first has removed it.
bool ClaimTemp(int fd, const std::string& name)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return false;
    // Without lock support nothing is locked, and no cleaner removes anything.
    struct stat byName, byHandle;
    return ::stat(name.c_str(), &byName) == 0 && ::fstat(fd, &byHandle) == 0 && SameFile(byName, byHandle);
}

// Sets the permission bits the file ends with.  Only those bits: set-id
// bits are not for a file just written.  A file the write does not replace
// (none there, or a link that is replaced) keeps the mode it was created with.
bool SetMode(int fd, const std::string& finalPath, const std::optional<mode_t>& mode)
{
    if (mode) return ::fchmod(fd, *mode & 0777) == 0;
    struct stat old;
    if (::lstat(finalPath.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return true;
    // Failing here rather than exposing a private file with a wider mode.
    return ::fchmod(fd, old.st_mode & 0777) == 0;
}

bool WriteAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Open(const std::string& path, const AtomicWriteOptions& options)
{
    Abandon();
    error = 0;
    std::string target;
    if (!FinalName(path, options.followLink, target)) return Fail();
    const std::string stem = FolderOf(target) + "/" + TempPrefix(target, options.hiddenTemporary);
    for (int attempt = 0; attempt < kTempAttempts && fd < 0; ++attempt) {
        std::string name = stem + RandomLetters(attempt);
        // 0666: the umask and the folder's default permissions decide, as
        // for any new file.
        const int created = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (created < 0) {
            if (errno == EEXIST) continue;
            return Fail();
        }
        if (!ClaimTemp(created, name)) {
            ::close(created);
            continue;
        }
        fd = created;
        tempPath = std::move(name);
    }
    if (fd < 0) {
        errno = EEXIST;
        return Fail();
    }
    finalPath = std::move(target);
    mode = options.mode;
    syncFolder = options.syncFolder;
    buffer.reserve(kBufferSize);
    return true;
}

bool AtomicFile::Fail()
{
    error = errno != 0 ? errno : EIO;
    return false;
}

bool AtomicFile::Flush()
{
    const bool ok = WriteAll(fd, buffer.data(), buffer.size());
    buffer.clear();
    return ok || Fail();
}

bool AtomicFile::Write(const void* data, size_t size)
{
    if (fd < 0 || error) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (buffer.size() + size > kBufferSize && !Flush()) return false;
    // Large blocks go straight through.
    if (size >= kBufferSize) return WriteAll(fd, bytes, size) || Fail();
    buffer.insert(buffer.end(), bytes, bytes + size);
    return true;
}

bool AtomicFile::Commit()
{
    if (fd < 0) return false;
    // Renamed while still open and locked, so that no cleaner takes it in between.
    bool ok = !error && Flush() && (SetMode(fd, finalPath, mode) || Fail()) && (::fsync(fd) == 0 || Fail()) &&
              (std::rename(tempPath.c_str(), finalPath.c_str()) == 0 || Fail());
    if (!ok) ::unlink(tempPath.c_str());
    if (::close(fd) != 0 && ok) ok = Fail();
    fd = -1;
    tempPath.clear();
    if (ok && syncFolder) SyncFolder(FolderOf(finalPath));
    return ok;
}

void AtomicFile::Abandon()
{
    if (!tempPath.empty()) {
        ::unlink(tempPath.c_str());
        tempPath.clear();
    }
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    buffer.clear();
}

void AtomicFile::RemoveLeftovers(const std::string& path, const AtomicWriteOptions& options)
{
    std::string target;
    if (!FinalName(path, options.followLink, target)) return;
    const std::string folder = FolderOf(target);
    const std::string prefix = TempPrefix(target, options.hiddenTemporary);

    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() != prefix.size() + kTempLetters || name.compare(0, prefix.size(), prefix) != 0) continue;
            bool letters = true;
            for (size_t i = prefix.size(); i < name.size(); ++i) letters = letters && IsTempLetter(name[i]);
            if (letters) names.push_back(name);
        }
        ::closedir(dir);
    }

    for (const std::string& name : names) {
        const std::string leftover = folder + "/" + name;
        const int leftoverFd = ::open(leftover.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (leftoverFd < 0) continue;
        struct stat byHandle, byName;
        // A lock held means a writer is still at work on it.
        if (::fstat(leftoverFd, &byHandle) == 0 && S_ISREG(byHandle.st_mode) && byHandle.st_uid == ::geteuid() &&
            ::flock(leftoverFd, LOCK_EX | LOCK_NB) == 0 && ::stat(leftover.c_str(), &byName) == 0 &&
            SameFile(byName, byHandle))
            ::unlink(leftover.c_str());
        ::close(leftoverFd);
    }
}

int WriteFileAtomically(const std::string& path, const void* data, size_t size, const AtomicWriteOptions& options)
{
    return WriteFileAtomically(path, [data, size](const ByteSink& sink) { return sink(data, size); }, options);
}

int WriteFileAtomically(const std::string& path, const std::function<bool(const ByteSink&)>& produce,
                        const AtomicWriteOptions& options)
{
    AtomicFile file;
    if (file.Open(path, options) &&
        produce([&file](const void* data, size_t size) { return file.Write(data, size); }) && file.Commit())
        return 0;
    return file.Error() != 0 ? file.Error() : EIO;
}
