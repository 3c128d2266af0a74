// 32-bit counts and tags in the little-endian byte order of the stored
// formats (data files, registry values, attribute blocks, export files),
// whatever the machine's own order.
#pragma once

#include <array>
#include <cstdint>

// The value of the four bytes at `bytes`.
constexpr uint32_t ReadLe32(const uint8_t* bytes)
{
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

// The four bytes that store `value`.
constexpr std::array<uint8_t, 4> Le32Bytes(uint32_t value)
{
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}
