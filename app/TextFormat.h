// Short texts built from a pattern with numbered placeholders "{0}", "{1}":
// the window title and the dump file name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TextFormat {
public:
    explicit TextFormat(std::string pattern) : pattern(std::move(pattern)) {}

    // Decimal text, a minus sign for negatives.
    TextFormat& operator%(int32_t value);
    // Six significant digits in general notation, as a default stream writes it.
    TextFormat& operator%(float value);

    // A placeholder whose number has no argument, or that is not closed,
    // stays in the text as it stands.
    std::string str() const;

private:
    std::string pattern;
    std::vector<std::string> arguments;
};
