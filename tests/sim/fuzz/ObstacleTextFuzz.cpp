// Obstacle text as a load hands it over; what is accepted must read back the
// same after it is written out again, and a refusal must add nothing.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sim/ObstacleText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<Obstacle> read;
    ObstacleTextError error;
    if (!ParseObstacleText(text, read, &error)) {
        if (!read.empty() || error.line < 1 || error.message.empty())
            std::abort();
        return 0;
    }
    std::vector<Obstacle> again;
    if (!ParseObstacleText(FormatObstacleText(read), again, &error) || again.size() != read.size())
        std::abort();
    for (size_t i = 0; i < read.size(); ++i)
        if (again[i].isEllipse != read[i].isEllipse || again[i].x != read[i].x || again[i].y != read[i].y ||
            again[i].width != read[i].width || again[i].height != read[i].height)
            std::abort();
    return 0;
}
