#include "app/ObstaclePicking.h"

Obstacle ObstacleCentredOn(int32_t gx, int32_t gy, int32_t width, int32_t height, int32_t shape)
{
    return Obstacle{shape != 0 ? 1 : 0, gx - width / 2, gy - height / 2, width, height};
}

LbmSimulator::ObstaclePosition FirstObstacleHit(const LbmSimulator::ObstacleList& obstacles, int32_t gx, int32_t gy)
{
    for (auto it = obstacles.cbegin(); it != obstacles.cend(); ++it) {
        // 64-bit sums: an obstacle stored with extreme values must not wrap.
        const int64_t right = int64_t{it->x} + it->width;
        const int64_t top = int64_t{it->y} + it->height;
        if (it->x <= gx && gx <= right && it->y <= gy && gy <= top)
            return it;
    }
    return obstacles.cend();
}
