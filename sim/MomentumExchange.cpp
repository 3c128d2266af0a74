#include "sim/MomentumExchange.h"

#include <algorithm>
#include <cstddef>

BodyForce MomentumExchangeForce(std::span<const LatticeCell> cells, std::span<const int32_t> mask, int W, int H,
                                ColumnRange obstacleColumns)
{
    BodyForce force;
    if (W < 3 || H < 3)
        return force;
    const size_t count = static_cast<size_t>(W) * static_cast<size_t>(H);
    if (cells.size() != count || mask.size() != count)
        return force;
    const int x0 = std::max(obstacleColumns.first, 1);
    const int x1 = std::min(obstacleColumns.end, W - 1);
    // Walk the obstacle cells (fewer than the fluid cells) and look back
    // along each direction to the fluid cell the link comes from.
    for (int y = 1; y < H - 1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const size_t s = static_cast<size_t>(y) * static_cast<size_t>(W) + static_cast<size_t>(x);
            if (mask[s] == 0)
                continue;
            for (int i = 1; i < 9; ++i) {
                const int fx = x - d2q9::kEx[i];
                const int fy = y - d2q9::kEy[i];
                if (fx < 1 || fx > W - 2 || fy < 1 || fy > H - 2)
                    continue;
                const size_t f = static_cast<size_t>(fy) * static_cast<size_t>(W) + static_cast<size_t>(fx);
                if (mask[f] != 0)
                    continue;
                const double exchanged = static_cast<double>(cells[f].f[i]) +
                                         static_cast<double>(cells[s].f[d2q9::kOpposite[i]]);
                force.fx += d2q9::kEx[i] * exchanged;
                force.fy += d2q9::kEy[i] * exchanged;
            }
        }
    }
    return force;
}
