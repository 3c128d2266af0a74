#include "editor/ImportRecordReader.h"

#include <cstdint>
#include <cstring>

#include "platform/bytes/LittleEndian32.h"

namespace {

bool ReadU32(FILE* file, uint32_t& v)
{
    uint8_t b[4];
    if (std::fread(b, 1, 4, file) != 4) return false;
    v = ReadLe32(b);
    return true;
}

}  // namespace

ImportRead ReadImportRecord(FILE* file, long& remaining, std::string& name, std::string& value)
{
    if (remaining <= 0) return ImportRead::End;
    uint32_t nameLength = 0, valueLength = 0;
    if (remaining < 4 || !ReadU32(file, nameLength)) return ImportRead::Damaged;
    remaining -= 4;
    if (nameLength == 0 || nameLength > uint64_t(remaining)) return ImportRead::Damaged;
    name.assign(nameLength, '\0');
    if (std::fread(name.data(), 1, nameLength, file) != nameLength) return ImportRead::Damaged;
    remaining -= long(nameLength);
    name.resize(std::strlen(name.c_str()));
    if (remaining < 4 || !ReadU32(file, valueLength)) return ImportRead::Damaged;
    remaining -= 4;
    if (valueLength > uint64_t(remaining)) return ImportRead::Damaged;
    value.assign(valueLength, '\0');
    if (valueLength && std::fread(value.data(), 1, valueLength, file) != valueLength) return ImportRead::Damaged;
    remaining -= long(valueLength);
    return ImportRead::Record;
}
