#include "app/TextFormat.h"

#include <cstdio>

TextFormat& TextFormat::operator%(int32_t value)
{
    arguments.push_back(std::to_string(value));
    return *this;
}

TextFormat& TextFormat::operator%(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    arguments.emplace_back(text);
    return *this;
}

std::string TextFormat::str() const
{
    std::string out;
    out.reserve(pattern.size());
    const size_t n = pattern.size();
    size_t i = 0;
    while (i < n) {
        const char c = pattern[i];
        if (c != '{') {
            out += c;
            ++i;
            continue;
        }
        size_t j = i + 1;
        // Saturate rather than wrap: a huge number is simply out of range.
        size_t number = 0;
        while (j < n && pattern[j] >= '0' && pattern[j] <= '9') {
            if (number <= arguments.size())
                number = number * 10 + static_cast<size_t>(pattern[j] - '0');
            ++j;
        }
        if (j < n && pattern[j] == '}' && number < arguments.size()) {
            out += arguments[number];
            i = j + 1;
        } else {
            out += '{';
            ++i;
        }
    }
    return out;
}
