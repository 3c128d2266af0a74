// Progress of a run without a window, for standard error: steps done, the
// iteration rate and the time left, at most one line a second.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class ProgressReport {
public:
    // The run goes from step first to step last; now in seconds of any
    // monotonic clock.
    ProgressReport(int64_t first, int64_t last, double now);

    // The line for having reached step at now, or nothing when the last
    // line is less than a second old.  The rate is that since the last line;
    // the share done is that of this run's steps.
    std::optional<std::string> At(int64_t step, double now);

private:
    int64_t first;
    int64_t last;
    int64_t lineStep;
    double lineTime;
};

// "57 s", "3 min 20 s", "2 h 05 min".
std::string FormatDuration(double seconds);
