// What an obstacle read from a file may be.  The grid is at most 1024 cells
// a side, so these bounds lose nothing a user can see, and they keep every
// sum of position and extent far from overflow.  The count bounds the work
// of loading: each obstacle may cost a pass over the whole grid.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/Lattice.h"

inline constexpr int32_t kMaxObstacleCoordinate = 4096;  // |x| and |y|
inline constexpr int32_t kMaxObstacleExtent = 4096;      // width and height, from 1
inline constexpr size_t kMaxObstaclesInFile = 1000;

inline bool IsObstacleCoordinate(int64_t v) { return v >= -kMaxObstacleCoordinate && v <= kMaxObstacleCoordinate; }
inline bool IsObstacleExtent(int64_t v) { return v >= 1 && v <= kMaxObstacleExtent; }

inline bool IsStorableObstacle(const Obstacle& o)
{
    return (o.isEllipse == 0 || o.isEllipse == 1) && IsObstacleCoordinate(o.x) && IsObstacleCoordinate(o.y) &&
           IsObstacleExtent(o.width) && IsObstacleExtent(o.height);
}
