// The "CF_ATR" block: the attributes of a set as one run of bytes, the value
// a property-set variable keeps.  Little-endian:
//   uint32 count, then per attribute:
//   uint32 name length, name (UTF-8), uint32 value length, value (UTF-8).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using AttributeList = std::vector<std::pair<std::string, std::string>>;

std::vector<uint8_t> EncodeAttributes(const AttributeList& attributes);
// Nothing for a block that is cut short or has bytes left over.
std::optional<AttributeList> DecodeAttributes(const uint8_t* bytes, size_t length);
