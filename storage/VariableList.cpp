#include "storage/VariableList.h"

#include "storage/DataRecordReader.h"

void CVariableList::SetClient(VARIABLE_CALLBACK newCallback, void* newContext)
{
    callback = newCallback;
    context = newContext;
    if (!callback) return;
    // The callback may store values or even clear this store: stepping by
    // key keeps the walk valid, and the client reads a copy, since storing
    // under the same name replaces (and may free) the stored bytes.
    auto it = values.begin();
    while (it != values.end() && callback) {
        const std::string name = it->first;
        const std::vector<uint8_t> bytes = it->second;
        callback(name.c_str(), bytes.empty() ? nullptr : bytes.data(), static_cast<unsigned>(bytes.size()),
                 context);
        it = values.upper_bound(name);
    }
}

void CVariableList::DropClient()
{
    callback = nullptr;
    context = nullptr;
}

int32_t CVariableList::SetData(const char* name, const void* bytes, unsigned length)
{
    if (!name) name = "";
    if (!bytes) length = 0;
    const auto* first = static_cast<const uint8_t*>(bytes);
    auto& stored = values[name];
    stored.assign(first, first + length);
    if (!callback) return 0;
    return callback(name, length ? bytes : nullptr, length, context);
}

bool CVariableList::Load(const void* buffer, size_t length)
{
    return ReadDataRecords(static_cast<const uint8_t*>(buffer), length,
                           [this](const char* name, const uint8_t* bytes, uint32_t size) {
                               SetData(name, bytes, size);
                           });
}

void CVariableList::Clear() { values.clear(); }
