// Data-file bytes into a value store, as Load hands them over, then every
// stored value out to a client that reads each byte it is given.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "storage/DataRecordReader.h"
#include "storage/VariableList.h"

namespace {
int32_t Touch(const char* name, const void* bytes, unsigned length, void* context)
{
    auto* sum = static_cast<unsigned*>(context);
    *sum += static_cast<unsigned>(std::strlen(name));
    const auto* b = static_cast<const uint8_t*>(bytes);
    for (unsigned i = 0; i < length; ++i) *sum += b[i];
    return 0;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t records = 0;
    ReadDataRecords(data, size, [&](const char* name, const uint8_t* bytes, uint32_t length) {
        records += std::strlen(name) + (length ? bytes[length - 1] : 0);
    });

    CVariableList store;
    unsigned sum = 0;
    store.SetClient(&Touch, &sum);
    store.Load(data, size);
    store.DropClient();
    store.SetClient(&Touch, &sum);
    return 0;
}
