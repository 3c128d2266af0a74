#include "editor/LastGroups.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/registry/Registry.h"
#include "storage/GUIData.h"

namespace {

// A value larger than this is not ours to read: 64 lines of 38 + 1 + 511
// bytes and their line ends, with room to spare.
constexpr size_t kValueMax = 64 * 1024;

using Lines = std::vector<std::pair<GUID, std::string>>;

bool Storable(const std::string& path)
{
    return path.size() <= kLastGroupPathMax && path.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

// Every well-formed line of the stored value, in order; lines that are not
// (a foreign or damaged value) are skipped, never guessed at.
Lines Read()
{
    Lines lines;
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, CGUIData::KeyPath(), KEY_READ) != ERROR_SUCCESS) return lines;
    // Read into a bounded buffer: a larger value is refused, not loaded.
    std::vector<uint8_t> bytes(kValueMax);
    DWORD size = DWORD(bytes.size());
    if (RegQueryValueEx(key.Get(), kLastGroupsValue, nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS)
        return lines;
    bytes.resize(size);
    const std::string text(bytes.begin(), std::find(bytes.begin(), bytes.end(), uint8_t(0)));
    size_t at = 0;
    while (at < text.size() && lines.size() < kLastGroupsMax) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string_view line(text.data() + at, end - at);
        at = end + 1;
        GUID id{};
        if (line.size() < size_t(kGuidStringLength) + 1 || line[size_t(kGuidStringLength)] != ' ' ||
            !GuidFromString(line.substr(0, size_t(kGuidStringLength)), &id))
            continue;
        std::string path(line.substr(size_t(kGuidStringLength) + 1));
        if (!Storable(path)) continue;
        if (std::none_of(lines.begin(), lines.end(), [&](const auto& l) { return l.first == id; }))
            lines.emplace_back(id, std::move(path));
    }
    return lines;
}

}  // namespace

bool RecallLastGroup(const GUID& listId, std::string& path)
{
    for (const auto& [id, stored] : Read())
        if (id == listId) {
            path = stored;
            return true;
        }
    return false;
}

void RememberLastGroups(const std::vector<std::pair<GUID, std::string>>& groups)
{
    Lines lines = Read();
    for (const auto& [listId, path] : groups) {
        if (!Storable(path)) continue;
        lines.erase(std::remove_if(lines.begin(), lines.end(), [&](const auto& l) { return l.first == listId; }),
                    lines.end());
        lines.insert(lines.begin(), {listId, path});
    }
    if (lines.size() > kLastGroupsMax) lines.resize(kLastGroupsMax);
    std::string text;
    for (const auto& [id, stored] : lines) text += GuidToString(id) + ' ' + stored + '\n';
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, CGUIData::KeyPath(), KEY_ALL_ACCESS) == ERROR_SUCCESS)
        key.SetString(kLastGroupsValue, text);
}
