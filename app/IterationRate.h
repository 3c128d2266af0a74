// The iteration-rate measurement behind the window title: steps counted
// since the last refresh, and the tick count of that refresh.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct IterationRate {
    int32_t iterationCount = 0;
    uint32_t lastTitleTick = 0;

    // Restarts the measurement without producing a title.
    void Restart(uint32_t now)
    {
        iterationCount = 0;
        lastTitleTick = now;
    }

    // Adds the steps of a pass.  The count stops at its largest value
    // rather than turn negative, however long a title refresh is delayed.
    void Count(int32_t steps);

    // After more than 1000 ms: the new title "Eddyra -- {0} ips", and the
    // measurement restarts.  Ticks wrap around after 49.7 days; the unsigned
    // difference stays right across the wrap.
    std::optional<std::string> TitleAt(uint32_t now);
};

// Milliseconds of a monotonic clock, truncated to 32 bits.
uint32_t TickCount();
