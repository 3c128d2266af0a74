#include "sim/NpyFile.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/LittleEndian.h"

bool EncodeNpy(const std::vector<float>& field, int width, int height, const ByteSink& sink)
{
    std::string dict = "{'descr': '<f4', 'fortran_order': False, 'shape': (" + std::to_string(height) + ", " +
                       std::to_string(width) + ", 3), }";
    // Magic, version, header length, then the dictionary padded with spaces
    // and ended by a newline so that the data starts on a 64-byte boundary.
    const char magic[] = "\x93NUMPY\x01\x00";
    const size_t prefix = sizeof magic - 1 + sizeof(uint16_t);
    const size_t total = (prefix + dict.size() + 1 + 63) / 64 * 64;
    dict.append(total - prefix - dict.size() - 1, ' ');
    dict.push_back('\n');

    std::string header(magic, sizeof magic - 1);
    header.push_back(static_cast<char>(dict.size() & 0xFF));
    header.push_back(static_cast<char>(dict.size() >> 8));
    header += dict;

    const size_t values = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    if (!sink(header.data(), header.size()))
        return false;
    if constexpr (std::endian::native == std::endian::little)
        return sink(field.data(), values * sizeof(float));
    std::vector<float> swapped(field.begin(), field.begin() + static_cast<ptrdiff_t>(values));
    le::ToFileOrder(swapped.data(), values);
    return sink(swapped.data(), values * sizeof(float));
}

std::vector<char> EncodeNpy(const std::vector<float>& field, int width, int height)
{
    std::vector<char> out;
    EncodeNpy(field, width, height, AppendTo(out));
    return out;
}
