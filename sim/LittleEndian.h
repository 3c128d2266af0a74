// Values to and from bytes in little-endian order, whatever the machine's
// own order: the file formats declare that order in their headers.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

namespace le {

template <typename T>
inline T ByteSwapped(T value)
{
    static_assert(std::is_trivially_copyable_v<T>);
    unsigned char b[sizeof(T)];
    std::memcpy(b, &value, sizeof(T));
    for (size_t i = 0; i < sizeof(T) / 2; ++i) {
        const unsigned char t = b[i];
        b[i] = b[sizeof(T) - 1 - i];
        b[sizeof(T) - 1 - i] = t;
    }
    std::memcpy(&value, b, sizeof(T));
    return value;
}

template <typename T>
inline void Append(std::vector<char>& out, T value)
{
    if constexpr (std::endian::native == std::endian::big)
        value = ByteSwapped(value);
    const size_t at = out.size();
    out.resize(at + sizeof(T));
    std::memcpy(out.data() + at, &value, sizeof(T));
}

// count values in place, in file order: nothing to do on a little-endian
// machine.
template <typename T>
inline void ToFileOrder(T* values, size_t count)
{
    if constexpr (std::endian::native == std::endian::big)
        for (size_t i = 0; i < count; ++i)
            values[i] = ByteSwapped(values[i]);
}

template <typename T>
inline T Read(const uint8_t* bytes)
{
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    if constexpr (std::endian::native == std::endian::big)
        value = ByteSwapped(value);
    return value;
}

}  // namespace le
