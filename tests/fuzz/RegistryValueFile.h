// Where the registry keeps one value on disk, for fuzz targets that write
// value files directly: the key is created, the value file is not.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/registry/Registry.h"
#include "platform/registry/RegistryPaths.h"

inline std::string RegistryValueFile(HKEY hive, const std::string& keyPath, const char* valueName)
{
    RegKey key;
    registry_detail::KeyLocation location;
    location.hive = hive == HKEY_CLASSES_ROOT ? 0 : 1;
    std::string file;
    if (key.Create(hive, keyPath) != ERROR_SUCCESS || !registry_detail::SplitKeyPath(keyPath.c_str(), location.path) ||
        !registry_detail::ValueFile(registry_detail::KeyFolder(location), valueName, file))
        std::abort();
    return file;
}
