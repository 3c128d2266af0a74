// Where keys and values of the registry live on disk.  Internal to the
// registry library.
#pragma once

#include <string>
#include <vector>

#include "platform/registry/RegistryTypes.h"

namespace registry_detail {

// An open key: its hive and its path below the hive, each name already
// folded to lower case.
struct KeyLocation {
    int hive = 0;
    std::vector<std::string> path;
};

// "\"-separated names, folded to lower case, empty names skipped.  False
// when a name is too long for a file name.
bool SplitKeyPath(const char* subKey, std::vector<std::string>& names);
// The folder of the hive (created on demand by writers).
std::string HiveFolder(int hive);
std::string KeyFolder(const KeyLocation& key);
// The file of a named value of the key folder; false when the name is too
// long for a file name.
bool ValueFile(const std::string& keyFolder, const char* valueName, std::string& file);
// True for folder entries that are keys (not values, not temporaries).
bool IsKeyEntry(const char* entryName);

}  // namespace registry_detail
