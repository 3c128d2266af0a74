// Where keys and values of the registry live on disk.  Internal to the
// registry library.
#pragma once

#include <string>
#include <vector>

#include "platform/registry/RegistryTypes.h"

namespace registry_detail {

// An open key: its hive and its path below the hive, each name already
// folded to lower case, and the registry that holds it: empty for the
// current one (RegistryRootPath(), looked up at every call), else a
// machine-wide registry the key was found in.
struct KeyLocation {
    int hive = 0;
    std::vector<std::string> path;
    std::string root;
};

// "\"-separated names, folded to lower case, empty names skipped.  False
// when a name is too long for a file name.
bool SplitKeyPath(const char* subKey, std::vector<std::string>& names);
// The folder of the key's hive (created on demand by writers).
std::string HiveFolder(const KeyLocation& key);
std::string KeyFolder(const KeyLocation& key);
// The file of a named value of the key folder; false when the name is too
// long for a file name.
bool ValueFile(const std::string& keyFolder, const char* valueName, std::string& file);
// The machine-wide registries that complete the classes of the user's, in
// the order they are searched; none while COMREGISTRY_DIR names a registry.
std::vector<std::string> MachineClassRegistries();
// True for folder entries that are keys (not values, not temporaries).
bool IsKeyEntry(const char* entryName);

}  // namespace registry_detail
