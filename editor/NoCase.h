// Case-insensitive comparison of narrow text, byte-wise with ASCII letters
// folded, as the editor matches group and variable names.
#pragma once

#include <string>
#include <string_view>

int CompareNoCase(std::string_view a, std::string_view b);
inline bool EqualNoCase(std::string_view a, std::string_view b) { return CompareNoCase(a, b) == 0; }
std::string LowerAscii(std::string_view text);
