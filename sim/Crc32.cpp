#include "sim/Crc32.h"

#include <array>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "platform/bytes/LittleEndian32.h"

namespace {
// Eight tables so that the loop consumes eight bytes per round with eight
// independent lookups, for processors without carry-less multiplication
// and for the last bytes of a buffer.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

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
        for (int k = 1; k < 8; ++k)
            t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    return t;
}

constexpr Tables kTables = MakeTables();

// The register (no inversion) after the bytes, eight at a time.
uint32_t TableCrc(const uint8_t* p, size_t size, uint32_t c)
{
    while (size >= 8) {
        c ^= ReadLe32(p);
        const uint32_t high = ReadLe32(p + 4);
        c = kTables[7][c & 0xFF] ^ kTables[6][(c >> 8) & 0xFF] ^ kTables[5][(c >> 16) & 0xFF] ^
            kTables[4][c >> 24] ^ kTables[3][high & 0xFF] ^ kTables[2][(high >> 8) & 0xFF] ^
            kTables[1][(high >> 16) & 0xFF] ^ kTables[0][high >> 24];
        p += 8;
        size -= 8;
    }
    while (size--)
        c = kTables[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
    return c;
}

#if defined(__x86_64__)
// Carry-less multiplication folds 64 bytes a round into four 128-bit
// remainders, then one, then reduces it to 32 bits (Barrett): several times
// the table's speed, so that saving a large state costs little more than
// copying it.  The constants are powers of x modulo the polynomial, in the
// bit-reflected order of this CRC.  size: a multiple of 16, at least 64.
#define CRC_FOLD_TARGET __attribute__((target("pclmul,sse4.1")))

CRC_FOLD_TARGET inline __m128i Load(const uint8_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// x times the two powers of x in k, added to the next 16 bytes.
CRC_FOLD_TARGET inline __m128i Fold(__m128i x, __m128i k, __m128i next)
{
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), next);
}

CRC_FOLD_TARGET uint32_t FoldedCrc(const uint8_t* p, size_t size, uint32_t c)
{
    const __m128i k1k2 = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);  // fold by 64 bytes
    const __m128i k3k4 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);  // fold by 16 bytes
    const __m128i k5 = _mm_set_epi64x(0, 0x163cd6124);
    const __m128i poly = _mm_set_epi64x(0x1f7011641, 0x1db710641);  // mu, P
    const __m128i mask32 = _mm_set_epi32(0, 0, 0, -1);

    __m128i x1 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(c)));
    __m128i x2 = Load(p + 16), x3 = Load(p + 32), x4 = Load(p + 48);
    p += 64;
    size -= 64;
    for (; size >= 64; p += 64, size -= 64) {
        x1 = Fold(x1, k1k2, Load(p));
        x2 = Fold(x2, k1k2, Load(p + 16));
        x3 = Fold(x3, k1k2, Load(p + 32));
        x4 = Fold(x4, k1k2, Load(p + 48));
    }
    x1 = Fold(x1, k3k4, x2);
    x1 = Fold(x1, k3k4, x3);
    x1 = Fold(x1, k3k4, x4);
    for (; size >= 16; p += 16, size -= 16)
        x1 = Fold(x1, k3k4, Load(p));

    // 128 to 64 bits, with 32 zero bits appended, then to 32 bits.
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(k3k4, x1, 0x01));
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 4), _mm_clmulepi64_si128(_mm_and_si128(x1, mask32), k5, 0x00));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x1, mask32), poly, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, mask32), poly, 0x00);
    return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, t), 1));
}

bool CanFold()
{
    static const bool can = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return can;
}
#endif
}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc)
{
    const auto* p = static_cast<const uint8_t*>(data);
    uint32_t c = ~crc;
#if defined(__x86_64__)
    if (size >= 64 && CanFold()) {
        const size_t folded = size & ~static_cast<size_t>(15);
        c = FoldedCrc(p, folded, c);
        p += folded;
        size -= folded;
    }
#endif
    return ~TableCrc(p, size, c);
}
