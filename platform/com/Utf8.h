// Conversions between the wide strings of COM (wchar_t, UTF-32 here) and
// UTF-8, the narrow text of this system (file names, registry, variable
// names).  Invalid input never fails: each malformed sequence or
// unencodable code point becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);
// Null-tolerant forms for C strings (null gives an empty string).
std::string WideToUtf8(const wchar_t* text);
std::wstring Utf8ToWide(const char* text);
