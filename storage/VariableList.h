// The value store of one variable list: the last value bytes seen for each
// full path name (compared byte by byte, case matters), and the client
// callback that receives every value stored.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "storage/api/VariableStorage.h"

class CVariableList {
public:
    using Values = std::map<std::string, std::vector<uint8_t>>;

    // Stores the client, then replays every stored value to it in name order.
    void SetClient(VARIABLE_CALLBACK callback, void* context);
    void DropClient();
    // Stores a copy of the bytes under the name and passes them to the
    // client; the client's result, or 0 when none is attached.  Null bytes
    // count as an empty value.
    int32_t SetData(const char* name, const void* bytes, unsigned length);
    // Feeds the data-file records of the buffer through SetData, in order.
    // A partial record at the end is dropped; the result tells whether the
    // buffer held whole records only.
    bool Load(const void* buffer, size_t length);
    // Removes every value; the client stays.
    void Clear();

    const Values& GetValues() const { return values; }
    bool HasClient() const { return callback != nullptr; }

private:
    VARIABLE_CALLBACK callback = nullptr;
    void* context = nullptr;
    Values values;
};
