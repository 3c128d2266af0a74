#include "storage/DataRecordReader.h"

#include <cstring>

#include "platform/bytes/LittleEndian32.h"

bool ReadDataRecords(const uint8_t* data, size_t size, const DataRecordSink& sink)
{
    if (!data) return size == 0;
    size_t at = 0;
    while (at < size) {
        const void* zero = std::memchr(data + at, 0, size - at);
        if (!zero) return false;
        const size_t nameEnd = static_cast<const uint8_t*>(zero) - data;
        const size_t lengthAt = nameEnd + 1;
        if (size - lengthAt < 4) return false;
        const uint32_t length = ReadLe32(data + lengthAt);
        const size_t valueAt = lengthAt + 4;
        if (length > size - valueAt) return false;
        sink(reinterpret_cast<const char*>(data + at), length ? data + valueAt : nullptr, length);
        at = valueAt + length;
    }
    return true;
}
