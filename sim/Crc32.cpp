#include "sim/Crc32.h"

#include <array>

#include "platform/bytes/LittleEndian32.h"

namespace {
// Four tables so that the loop consumes four bytes per round: a saved state
// of the largest grid is 38 MB, and the checksum must not dominate its save.
using Tables = std::array<std::array<uint32_t, 256>, 4>;

constexpr Tables MakeTables()
{
    Tables t{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; ++n)
        for (int k = 1; k < 4; ++k)
            t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    return t;
}

constexpr Tables kTables = MakeTables();
}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc)
{
    const auto* p = static_cast<const uint8_t*>(data);
    uint32_t c = ~crc;
    while (size >= 4) {
        c ^= ReadLe32(p);
        c = kTables[3][c & 0xFF] ^ kTables[2][(c >> 8) & 0xFF] ^ kTables[1][(c >> 16) & 0xFF] ^ kTables[0][c >> 24];
        p += 4;
        size -= 4;
    }
    while (size--)
        c = kTables[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
    return ~c;
}
