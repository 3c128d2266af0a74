// A file-backed registry: two hives of case-insensitive keys, each key with
// a default value and named values of arbitrary bytes.
//
// Stored under $COMREGISTRY_DIR when set, else under
// ${XDG_CONFIG_HOME:-$HOME/.config}/comregistry.  Without COMREGISTRY_DIR,
// a class key the user's registry lacks is looked for in the machine-wide
// registries, <folder>/comregistry for each folder of
// ${XDG_CONFIG_DIRS:-/etc/xdg}, where a package registers its servers for
// every user; the user's own keys come first.  A registry that
// COMREGISTRY_DIR names stands alone, so that a build or a test sees only
// what it registered itself.  Each hive is a folder,
// each key a folder, each value one file; a value is replaced by writing a
// temporary file and renaming it over the old one, so a reader sees either
// the old or the new value, never part of one.  The location is read at
// every call, so a process may move it between calls.
//
// Names are narrow UTF-8.  Key and value names ignore the case of ASCII
// letters; "\" separates the keys of a path.  The default value of a key
// has the empty (or null) name.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry/RegKey.h"
#include "platform/registry/RegistryTypes.h"

// Opens a key, creating it and every missing parent.  disposition (if not
// null) receives REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY.
// reserved, keyClass, options and security are accepted and ignored.
LSTATUS RegCreateKeyEx(HKEY parent, const char* subKey, DWORD reserved, char* keyClass, DWORD options,
                       REGSAM access, const void* security, HKEY* result, DWORD* disposition);
// Opens an existing key: ERROR_FILE_NOT_FOUND when it does not exist.
// A null or empty subKey opens parent itself again.
LSTATUS RegOpenKeyEx(HKEY parent, const char* subKey, DWORD options, REGSAM access, HKEY* result);
// Null and the predefined hives are accepted and do nothing.
LSTATUS RegCloseKey(HKEY key);

// Reads a value.  type (if not null) receives its type.  With data null,
// *size receives the value's length.  With data, *size is the capacity: a
// value that fits is copied and *size set to its length; a longer one is
// not copied, ERROR_MORE_DATA is returned and *size set to its length.
// ERROR_FILE_NOT_FOUND when the value does not exist.
LSTATUS RegQueryValueEx(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, uint8_t* data,
                        DWORD* size);
// Writes a value atomically.  Strings (REG_SZ) are stored byte for byte:
// include the terminating zero in size, so that a reader gets a C string
// back without having to add one.  Failure
// (ERROR_CANTWRITE) leaves the previous value intact.
LSTATUS RegSetValueEx(HKEY key, const char* valueName, DWORD reserved, DWORD type, const uint8_t* data,
                      DWORD size);
LSTATUS RegDeleteValue(HKEY key, const char* valueName);
// Deletes a key that has no subkeys (ERROR_ACCESS_DENIED when it has some).
LSTATUS RegDeleteKey(HKEY parent, const char* subKey);
// Deletes a key with everything below it; with subKey null or empty, the
// values and subkeys of parent itself, leaving parent.
LSTATUS RegDeleteTree(HKEY parent, const char* subKey);

// The folder that holds the hives now.
std::string RegistryRootPath();
// The machine-wide registry that registrations for every user go to: in
// the first folder of ${XDG_CONFIG_DIRS:-/etc/xdg}.
std::string MachineRegistryRootPath();
