// The data folder: one data file per variable list with the values that
// differ from their defaults, and "uselist.txt" naming further lists.
// Paths are UTF-8 with "/" separators.
#pragma once

#include <map>
#include <string>

#include "platform/com/Guid.h"
#include "storage/VariableList.h"
#include "storage/api/VariableStorage.h"

class CDataFolder {
public:
    // The client lists in use and one value store per list id, as the
    // component holds them.
    using ListsInUse = std::map<GUID, IVariableListPtr, CompareGUID>;
    using Stores = std::map<GUID, CVariableList, CompareGUID>;

    // Writes a data file for every list in use, in list-id order.  True
    // when every list was written; messages receives one line per failing
    // list.  A data file is replaced atomically: a failed save leaves the
    // previous file as it was.  Once a list's file is written or deleted,
    // the files under its other names are removed.
    static bool Save(const std::string& folder, const ListsInUse& lists, std::string& messages);
    // Empties every store, feeds each data file's records to its list's
    // store (and so to attached clients), then refills the lists in use
    // from "uselist.txt".  A list has one data file: the file under its own
    // name, else the first under another name of it; anything but a regular
    // file is skipped without being opened for long.  Reports nothing.
    static void Load(const std::string& folder, Stores& stores, ListsInUse& lists);

    // The data file name of a list: its ProgID, else its braced class id.
    static std::string FileNameOf(const GUID& listId);
    // The list id a data file name stands for; false for other names.
    static bool ListIdOf(const std::string& fileName, GUID* listId);
    // The value bytes a data file holds for a variable, by kind.
    static void ValueBytesOf(const GLOBAL_VARIABLE_INFO& info, const void** bytes, uint32_t* length);
};
