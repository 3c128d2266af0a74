// Case-insensitive handling of names: only ASCII letters fold, byte by byte,
// so that the locale of the process never changes which name matches which,
// and bytes outside ASCII compare as they are.
#pragma once

#include <string>
#include <string_view>

constexpr char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// <0, 0 or >0 as a sorts before, with or after b once folded; bytes compare
// unsigned, and a prefix sorts first.
constexpr int CompareNoCase(std::string_view a, std::string_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(FoldAscii(a[i]));
        const auto y = static_cast<unsigned char>(FoldAscii(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

constexpr bool EqualNoCase(std::string_view a, std::string_view b) { return CompareNoCase(a, b) == 0; }

inline std::string LowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = FoldAscii(c);
    return out;
}
