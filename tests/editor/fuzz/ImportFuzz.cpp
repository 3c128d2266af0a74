// An import file's bytes through the record reader, as "Load" reads them
// record by record.  The reader's count of what is left must follow the
// file position exactly, and a file read to its end is consumed whole.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/ImportRecordReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An empty buffer cannot back a stream: an empty file is one byte of
    // which nothing is left to read.
    static uint8_t nothing = 0;
    FILE* file = fmemopen(size ? const_cast<uint8_t*>(data) : &nothing, size ? size : 1, "rb");
    if (!file) std::abort();
    long remaining = long(size);
    std::string name, value;
    ImportRead read;
    while ((read = ReadImportRecord(file, remaining, name, value)) == ImportRead::Record)
        if (remaining < 0 || std::ftell(file) != long(size) - remaining) std::abort();
    if (read == ImportRead::End && (remaining != 0 || std::ftell(file) != long(size))) std::abort();
    std::fclose(file);
    return 0;
}
