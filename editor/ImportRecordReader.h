// Reads the records of an import file ("Bin files"): a 32-bit little-endian
// name length, the name with its terminating zero, a 32-bit little-endian
// value length and the value bytes, back to back.  Parsing only, with no
// window behind it, so that any byte sequence can be tried against it.
#pragma once

#include <cstdio>
#include <string>

enum class ImportRead { Record, End, Damaged };

// Reads the next record from file.  remaining is what is left of the file
// and shrinks by what was read; every length is checked against it before
// anything is allocated or read, so a hostile length costs nothing.  The
// name is cut at its first zero.  End when nothing is left; Damaged for a
// record cut short or longer than what is left.
ImportRead ReadImportRecord(FILE* file, long& remaining, std::string& name, std::string& value);
