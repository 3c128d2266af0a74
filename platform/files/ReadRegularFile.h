// Reading a whole file that comes from outside, without letting it hold the
// program: a FIFO or a device under the name is refused instead of waited
// on, and a file larger than the caller's limit is refused before anything
// is allocated for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Returns an empty string and the bytes, or why the file cannot be read
// (content is then left alone).
std::string ReadRegularFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& content);
