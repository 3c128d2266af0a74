// CRC-32 (the polynomial of zip and PNG), for the checksum of saved states.
#pragma once

#include <cstddef>
#include <cstdint>

// crc: the value of the bytes before these, 0 for the first ones.
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);
