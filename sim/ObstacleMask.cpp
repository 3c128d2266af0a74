#include "sim/ObstacleMask.h"

#include <algorithm>

bool EllipseCoversCell(const Obstacle& o, int c, int r)
{
    const float a = static_cast<float>(o.width) * 0.5f;
    const float b = static_cast<float>(o.height) * 0.5f;
    const float cx = static_cast<float>(o.x) + a;
    const float cy = static_cast<float>(o.y) + b;
    const float dx = static_cast<float>(c) - cx + 0.5f;
    const float dy = static_cast<float>(r) - cy + 0.5f;
    return dx * dx * (b * b) + dy * dy * (a * a) <= a * a * (b * b);
}

bool ObstacleCoversCell(const Obstacle& o, int c, int r)
{
    // Compare in 64 bits: x + width may overflow a 32-bit int for hostile input.
    const int64_t c64 = c, r64 = r;
    if (c64 < o.x || c64 >= int64_t{o.x} + o.width || r64 < o.y || r64 >= int64_t{o.y} + o.height)
        return false;
    return o.isEllipse == 0 || EllipseCoversCell(o, c, r);
}

void BuildObstacleMask(std::span<int32_t> mask, int W, int H, const std::list<Obstacle>& obstacles)
{
    std::fill(mask.begin(), mask.end(), 0);
    for (const Obstacle& o : obstacles) {
        const int64_t r0 = std::max<int64_t>(o.y, 0);
        const int64_t r1 = std::min<int64_t>(int64_t{o.y} + o.height, H);
        const int64_t c0 = std::max<int64_t>(o.x, 0);
        const int64_t c1 = std::min<int64_t>(int64_t{o.x} + o.width, W);
        for (int64_t r = r0; r < r1; ++r)
            for (int64_t c = c0; c < c1; ++c)
                if (o.isEllipse == 0 || EllipseCoversCell(o, static_cast<int>(c), static_cast<int>(r)))
                    mask[static_cast<size_t>(r * W + c)] = 1;
    }
}
