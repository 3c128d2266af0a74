// Where an encoder's bytes go, in order, block by block: a file being
// written, or memory.  An encoder stops at the first block its sink refuses,
// so that a failed write costs no further encoding.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

using ByteSink = std::function<bool(const void* data, size_t size)>;

// A sink that appends every block to bytes.
inline ByteSink AppendTo(std::vector<char>& bytes)
{
    return [&bytes](const void* data, size_t size) {
        const char* p = static_cast<const char*>(data);
        bytes.insert(bytes.end(), p, p + size);
        return true;
    };
}
