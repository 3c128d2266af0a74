#include "platform/registry/Registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <vector>

#include "platform/bytes/LittleEndian32.h"
#include "platform/files/AtomicFile.h"
#include "platform/registry/RegistryPaths.h"

using registry_detail::KeyLocation;

struct RegistryKey {
    KeyLocation location;
    REGSAM access = 0;
};

namespace {

// A value file: its 32-bit little-endian type, then the value's bytes.
constexpr std::size_t kValueHeader = 4;
// Value files are readable by every user whatever the writer's umask (a
// machine-wide registry is written by one user for all), and a value is
// replaced whole; its temporary file is hidden, neither a value nor a key to
// anyone listing the key's folder.
const AtomicWriteOptions kValueWrite{.followLink = false, .mode = 0644, .hiddenTemporary = true};

// Reads exactly count bytes; false on an error or an early end.
bool ReadExactly(int fd, uint8_t* to, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd, to + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool IsPredefined(HKEY key) { return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER; }

// The location and rights behind a handle.
bool Resolve(HKEY key, KeyLocation& location, REGSAM& access)
{
    if (key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER) {
        location = KeyLocation{key == HKEY_CLASSES_ROOT ? 0 : 1, {}, {}};
        access = KEY_ALL_ACCESS;
        return true;
    }
    if (!key) return false;
    location = key->location;
    access = key->access;
    return true;
}

bool IsFolder(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Hive folders always exist as far as callers can tell; other keys exist
// while their folder does.
bool KeyExists(const KeyLocation& location) { return location.path.empty() || IsFolder(registry_detail::KeyFolder(location)); }

LSTATUS StatusFromErrno(int error, LSTATUS otherwise)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    case ENOMEM: return ERROR_OUTOFMEMORY;
    default: return otherwise;
    }
}

// Moves a key folder out of sight in one step, then removes it at leisure:
// a concurrent reader sees the whole key or none of it.
LSTATUS RemoveKeyFolder(const std::string& folder)
{
    const std::string parent = folder.substr(0, folder.rfind('/'));
    std::string grave = parent + "/.del-XXXXXX";
    if (!::mkdtemp(grave.data())) return StatusFromErrno(errno, ERROR_CANTWRITE);
    // rename replaces the empty folder just made.
    if (::rename(folder.c_str(), grave.c_str()) != 0) {
        const int error = errno;
        ::rmdir(grave.c_str());
        return error == ENOENT ? ERROR_FILE_NOT_FOUND : StatusFromErrno(error, ERROR_CANTWRITE);
    }
    std::error_code ignored;
    std::filesystem::remove_all(grave, ignored);
    return ERROR_SUCCESS;
}

bool HasSubKeys(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        if (registry_detail::IsKeyEntry(entry->d_name) && IsFolder(folder + "/" + entry->d_name)) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

LSTATUS OpenTarget(HKEY parent, const char* subKey, KeyLocation& location, REGSAM& access)
{
    if (!Resolve(parent, location, access)) return ERROR_INVALID_HANDLE;
    std::vector<std::string> names;
    if (!registry_detail::SplitKeyPath(subKey, names)) return ERROR_INVALID_PARAMETER;
    if (!KeyExists(location)) return ERROR_KEY_DELETED;
    location.path.insert(location.path.end(), names.begin(), names.end());
    return ERROR_SUCCESS;
}

// A class key missing from the user's registry may have been registered
// for every user: the location moves to the first machine-wide registry
// that has it.
bool FindMachineClassKey(KeyLocation& location)
{
    if (location.hive != 0 || !location.root.empty()) return false;
    for (std::string& root : registry_detail::MachineClassRegistries()) {
        location.root = std::move(root);
        if (KeyExists(location)) return true;
    }
    location.root.clear();
    return false;
}

HKEY NewHandle(const KeyLocation& location, REGSAM access)
{
    return new (std::nothrow) RegistryKey{location, access};
}

}  // namespace

LSTATUS RegCreateKeyEx(HKEY parent, const char* subKey, DWORD, char*, DWORD, REGSAM access, const void*,
                       HKEY* result, DWORD* disposition)
{
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    KeyLocation location;
    REGSAM parentAccess = 0;
    if (LSTATUS status = OpenTarget(parent, subKey, location, parentAccess); status != ERROR_SUCCESS) return status;
    const std::size_t parentDepth = IsPredefined(parent) ? 0 : parent->location.path.size();
    if (location.path.size() > parentDepth && !(parentAccess & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;

    std::string folder = registry_detail::HiveFolder(location);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!IsFolder(folder)) return StatusFromErrno(error.value(), ERROR_CANTWRITE);
    bool created = false;
    for (const std::string& name : location.path) {
        const std::string child = folder + "/" + name;
        if (::mkdir(child.c_str(), 0755) == 0) {
            created = true;
            SyncFolder(folder);
        } else if (errno != EEXIST || !IsFolder(child)) {
            return StatusFromErrno(errno, ERROR_CANTWRITE);
        } else {
            created = false;
        }
        folder = child;
    }
    if (!(*result = NewHandle(location, access))) return ERROR_OUTOFMEMORY;
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LSTATUS RegOpenKeyEx(HKEY parent, const char* subKey, DWORD, REGSAM access, HKEY* result)
{
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    KeyLocation location;
    REGSAM parentAccess = 0;
    if (LSTATUS status = OpenTarget(parent, subKey, location, parentAccess); status != ERROR_SUCCESS) return status;
    if (!KeyExists(location) && !FindMachineClassKey(location)) return ERROR_FILE_NOT_FOUND;
    if (!(*result = NewHandle(location, access))) return ERROR_OUTOFMEMORY;
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key)
{
    if (!IsPredefined(key)) delete key;
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueEx(HKEY key, const char* valueName, DWORD*, DWORD* type, uint8_t* data, DWORD* size)
{
    KeyLocation location;
    REGSAM access = 0;
    if (!Resolve(key, location, access)) return ERROR_INVALID_HANDLE;
    if (!(access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    if (data && !size) return ERROR_INVALID_PARAMETER;
    const std::string folder = registry_detail::KeyFolder(location);
    std::string file;
    if (!registry_detail::ValueFile(folder, valueName, file)) return ERROR_FILE_NOT_FOUND;

    // Without blocking: a FIFO or a device under a value's name must not hold
    // the caller until someone writes to it.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) return StatusFromErrno(errno, ERROR_CANTREAD);
        return KeyExists(location) ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
    }
    // The file is never changed in place (only replaced), so everything read
    // through this one handle belongs to one value.  Only the bytes the
    // caller takes are read: a size query or a buffer too small costs the
    // header alone, however large the file claims to be.
    uint8_t header[kValueHeader];
    struct stat info;
    LSTATUS status = ERROR_SUCCESS;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < static_cast<off_t>(kValueHeader) ||
        info.st_size - kValueHeader > 0xFFFFFFFFu || !ReadExactly(fd, header, kValueHeader))
        status = ERROR_CANTREAD;
    const DWORD length = status == ERROR_SUCCESS ? static_cast<DWORD>(info.st_size - kValueHeader) : 0;
    if (status == ERROR_SUCCESS && data) {
        if (length > *size)
            status = ERROR_MORE_DATA;
        else if (!ReadExactly(fd, data, length))
            status = ERROR_CANTREAD;
    }
    ::close(fd);
    if (status == ERROR_CANTREAD) return status;

    if (type) *type = ReadLe32(header);
    if (size) *size = length;
    return status;
}

LSTATUS RegSetValueEx(HKEY key, const char* valueName, DWORD, DWORD type, const uint8_t* data, DWORD size)
{
    KeyLocation location;
    REGSAM access = 0;
    if (!Resolve(key, location, access)) return ERROR_INVALID_HANDLE;
    if (!(access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    if (!data && size) return ERROR_INVALID_PARAMETER;
    const std::string folder = registry_detail::KeyFolder(location);
    std::string file;
    if (!registry_detail::ValueFile(folder, valueName, file)) return ERROR_INVALID_PARAMETER;
    if (location.path.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
    if (!IsFolder(folder)) return ERROR_KEY_DELETED;

    // The new value is complete on disk before it takes the old one's name.
    AtomicFile value;
    const auto header = Le32Bytes(type);
    static_assert(header.size() == kValueHeader);
    if (value.Open(file, kValueWrite) && value.Write(header.data(), header.size()) && value.Write(data, size) &&
        value.Commit())
        return ERROR_SUCCESS;
    return StatusFromErrno(value.Error(), ERROR_CANTWRITE);
}

LSTATUS RegDeleteValue(HKEY key, const char* valueName)
{
    KeyLocation location;
    REGSAM access = 0;
    if (!Resolve(key, location, access)) return ERROR_INVALID_HANDLE;
    if (!(access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    const std::string folder = registry_detail::KeyFolder(location);
    std::string file;
    if (!registry_detail::ValueFile(folder, valueName, file)) return ERROR_FILE_NOT_FOUND;
    if (::unlink(file.c_str()) == 0) {
        SyncFolder(folder);
        return ERROR_SUCCESS;
    }
    if (errno != ENOENT) return StatusFromErrno(errno, ERROR_CANTWRITE);
    return KeyExists(location) ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
}

LSTATUS RegDeleteKey(HKEY parent, const char* subKey)
{
    KeyLocation location;
    REGSAM access = 0;
    if (LSTATUS status = OpenTarget(parent, subKey, location, access); status != ERROR_SUCCESS) return status;
    const std::size_t parentDepth = IsPredefined(parent) ? 0 : parent->location.path.size();
    if (location.path.size() == parentDepth) return ERROR_INVALID_PARAMETER;
    const std::string folder = registry_detail::KeyFolder(location);
    if (!IsFolder(folder)) return ERROR_FILE_NOT_FOUND;
    if (HasSubKeys(folder)) return ERROR_ACCESS_DENIED;
    return RemoveKeyFolder(folder);
}

LSTATUS RegDeleteTree(HKEY parent, const char* subKey)
{
    KeyLocation location;
    REGSAM access = 0;
    if (LSTATUS status = OpenTarget(parent, subKey, location, access); status != ERROR_SUCCESS) return status;
    const std::size_t parentDepth = IsPredefined(parent) ? 0 : parent->location.path.size();
    const std::string folder = registry_detail::KeyFolder(location);
    if (location.path.size() > parentDepth) {
        if (!IsFolder(folder)) return ERROR_FILE_NOT_FOUND;
        return RemoveKeyFolder(folder);
    }
    // Empty the key itself: its values and subkeys go, the key stays.
    if (!(access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return location.path.empty() ? ERROR_SUCCESS : ERROR_KEY_DELETED;
    std::vector<std::string> entries;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) entries.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    LSTATUS result = ERROR_SUCCESS;
    for (const std::string& name : entries) {
        const std::string path = folder + "/" + name;
        LSTATUS status = ERROR_SUCCESS;
        if (name[0] == '=') {
            if (::unlink(path.c_str()) != 0 && errno != ENOENT) status = StatusFromErrno(errno, ERROR_CANTWRITE);
        } else if (registry_detail::IsKeyEntry(name.c_str()) && IsFolder(path)) {
            status = RemoveKeyFolder(path);
            if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
        }
        if (status != ERROR_SUCCESS) result = status;
    }
    SyncFolder(folder);
    return result;
}
