#include "app/ProgressReport.h"

#include <cmath>
#include <cstdio>

ProgressReport::ProgressReport(int64_t first, int64_t last, double now)
    : first(first), last(last), lineStep(first), lineTime(now)
{
}

std::optional<std::string> ProgressReport::At(int64_t step, double now)
{
    const double elapsed = now - lineTime;
    if (elapsed < 1.0)
        return std::nullopt;
    const double rate = static_cast<double>(step - lineStep) / elapsed;
    lineStep = step;
    lineTime = now;
    const double percent =
        last > first ? 100.0 * static_cast<double>(step - first) / static_cast<double>(last - first) : 100.0;
    char line[160];
    std::snprintf(line, sizeof line, "step %lld of %lld (%.1f %%), %.0f it/s", static_cast<long long>(step),
                  static_cast<long long>(last), percent, rate);
    std::string text = line;
    if (rate > 0)
        text += ", " + FormatDuration(static_cast<double>(last - step) / rate) + " left";
    return text;
}

std::string FormatDuration(double seconds)
{
    const long long s = std::isfinite(seconds) && seconds > 0 ? std::llround(seconds) : 0;
    char text[64];
    if (s < 60)
        std::snprintf(text, sizeof text, "%lld s", s);
    else if (s < 3600)
        std::snprintf(text, sizeof text, "%lld min %02lld s", s / 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%lld h %02lld min", s / 3600, (s % 3600) / 60);
    return text;
}
