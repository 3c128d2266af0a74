// Walks the records of a data file: a zero-terminated name, a 32-bit
// little-endian value length and that many value bytes, back to back.
// Never reads past the given bytes and never allocates: a record that does
// not fit (no zero before the end, a length field cut short, a length beyond
// the end) ends the walk, and the records before it have been delivered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// Called once per whole record with pointers into the data.
using DataRecordSink = std::function<void(const char* name, const uint8_t* bytes, uint32_t length)>;

// True when the data ended exactly after a whole record (or was empty),
// false when a partial record was dropped.
bool ReadDataRecords(const uint8_t* data, size_t size, const DataRecordSink& sink);
