#include "storage/DataRecordReader.h"

#include <cstring>

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
        const uint32_t length = uint32_t(data[lengthAt]) | uint32_t(data[lengthAt + 1]) << 8 |
                                uint32_t(data[lengthAt + 2]) << 16 | uint32_t(data[lengthAt + 3]) << 24;
        const size_t valueAt = lengthAt + 4;
        if (length > size - valueAt) return false;
        sink(reinterpret_cast<const char*>(data + at), length ? data + valueAt : nullptr, length);
        at = valueAt + length;
    }
    return true;
}
