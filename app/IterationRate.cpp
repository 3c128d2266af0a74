#include "app/IterationRate.h"

#include <chrono>
#include <limits>

#include "app/TextFormat.h"

void IterationRate::Count(int32_t steps)
{
    if (steps <= 0)
        return;
    iterationCount = steps > std::numeric_limits<int32_t>::max() - iterationCount
                         ? std::numeric_limits<int32_t>::max()
                         : iterationCount + steps;
}

std::optional<std::string> IterationRate::TitleAt(uint32_t now)
{
    const uint32_t elapsed = now - lastTitleTick;
    if (elapsed <= 1000)
        return std::nullopt;
    const float rate = static_cast<float>(iterationCount) / static_cast<float>(elapsed) * 1000.0f;
    Restart(now);
    return (TextFormat("Eddyra -- {0} ips") % rate).str();
}

uint32_t TickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
