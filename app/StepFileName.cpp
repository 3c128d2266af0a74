#include "app/StepFileName.h"

std::string StepFileName(const std::string& pattern, int64_t step, int digits)
{
    std::string number = std::to_string(step);
    if (static_cast<int>(number.size()) < digits)
        number.insert(0, static_cast<size_t>(digits) - number.size(), '0');
    static const std::string kPlaceholder = "{step}";
    std::string name;
    size_t at = 0;
    for (size_t hit; (hit = pattern.find(kPlaceholder, at)) != std::string::npos; at = hit + kPlaceholder.size())
        name += pattern.substr(at, hit - at) + number;
    return name + pattern.substr(at);
}

int DecimalDigits(int64_t value)
{
    int digits = 1;
    for (; value >= 10; value /= 10)
        ++digits;
    return digits;
}
