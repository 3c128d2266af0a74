// Where the user left each tab of the editor: the group last selected in
// the tab of each variable list, so that the editor opens on it.  Kept in
// the registry value "LastGroups" beside the layout record (whose 20 bytes
// it leaves alone): one line per list, its braced list id, a space and the
// group's path below "root" ("a|c"; empty for "root" itself), the most
// recent first.  The value is read and written whole at each use, so that
// editor windows open at the same time keep each other's lines; a window
// writes its own when it closes, as it does the splitter's place.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/com/Guid.h"

inline constexpr const char* kLastGroupsValue = "LastGroups";
// What is kept: lists, and bytes of a path (longer paths are not stored).
inline constexpr size_t kLastGroupsMax = 64;
inline constexpr size_t kLastGroupPathMax = 511;

// The path stored for a list; false when there is none (or the value is
// damaged beyond that line).
bool RecallLastGroup(const GUID& listId, std::string& path);
// Stores these paths, first, in one write; failures are ignored, as the
// layout record's are.
void RememberLastGroups(const std::vector<std::pair<GUID, std::string>>& groups);
