#include "platform/registry/RegistryPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/registry/Registry.h"

namespace registry_detail {
namespace {

// Every file name we make stays below the usual 255-byte limit with room
// for a prefix.
constexpr std::size_t kMaxEncodedName = 250;

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Names become file names: letters are folded so that lookups ignore case,
// and every byte that could mean something to the file system (a slash, a
// leading dot, the "=" that marks values, anything outside plain ASCII) is
// written as %XX.  Distinct folded names give distinct file names.
bool Encode(const std::string& folded, std::string& out)
{
    static const char hex[] = "0123456789ABCDEF";
    out.clear();
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(folded[i]);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || std::strchr("{}-_ +(),;", c) != nullptr ||
                           (c == '.' && i > 0);
        if (plain && c != 0) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out.size() <= kMaxEncodedName;
}

std::string Fold(const char* text)
{
    std::string folded = text ? text : "";
    for (char& c : folded) c = FoldAscii(c);
    return folded;
}

// XDG_CONFIG_DIRS, or its default; relative entries are invalid and skipped.
std::vector<std::string> ConfigFolders()
{
    std::vector<std::string> folders;
    const char* list = std::getenv("XDG_CONFIG_DIRS");
    const std::string dirs = list && *list ? list : "/etc/xdg";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        if (end > start && dirs[start] == '/') folders.push_back(dirs.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/tmp";
}

}  // namespace

bool SplitKeyPath(const char* subKey, std::vector<std::string>& names)
{
    names.clear();
    const std::string folded = Fold(subKey);
    std::size_t start = 0;
    while (start <= folded.size()) {
        std::size_t end = folded.find('\\', start);
        if (end == std::string::npos) end = folded.size();
        if (end > start) {
            std::string encoded;
            if (!Encode(folded.substr(start, end - start), encoded)) return false;
            names.push_back(std::move(encoded));
        }
        start = end + 1;
    }
    return true;
}

std::string HiveFolder(const KeyLocation& key)
{
    const std::string name = key.hive == 0 ? "HKEY_CLASSES_ROOT" : "HKEY_CURRENT_USER";
    return (key.root.empty() ? RegistryRootPath() : key.root) + "/" + name;
}

std::string KeyFolder(const KeyLocation& key)
{
    std::string folder = HiveFolder(key);
    for (const std::string& name : key.path) folder += "/" + name;
    return folder;
}

bool ValueFile(const std::string& keyFolder, const char* valueName, std::string& file)
{
    std::string encoded;
    if (!Encode(Fold(valueName), encoded)) return false;
    file = keyFolder + "/=" + encoded;
    return true;
}

std::vector<std::string> MachineClassRegistries()
{
    std::vector<std::string> roots;
    if (const char* dir = std::getenv("COMREGISTRY_DIR"); dir && *dir) return roots;
    for (const std::string& folder : ConfigFolders()) roots.push_back(folder + "/comregistry");
    return roots;
}

bool IsKeyEntry(const char* entryName) { return entryName[0] != '.' && entryName[0] != '='; }

}  // namespace registry_detail

std::string RegistryRootPath()
{
    if (const char* dir = std::getenv("COMREGISTRY_DIR"); dir && *dir) return dir;
    // XDG: a relative XDG_CONFIG_HOME is invalid and ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return std::string(config) + "/comregistry";
    return registry_detail::HomeFolder() + "/.config/comregistry";
}

std::string MachineRegistryRootPath()
{
    const std::vector<std::string> folders = registry_detail::ConfigFolders();
    return (folders.empty() ? std::string("/etc/xdg") : folders.front()) + "/comregistry";
}
