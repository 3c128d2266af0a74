// What a click does to the obstacle list: the obstacle a left click places,
// and the one a right click removes.
#pragma once

#include <cstdint>

#include "sim/LbmSimulator.h"

// Centred on the cell; for even sizes the extra cell lies left and below.
// A shape other than 0 ("Rect") is an ellipse.
Obstacle ObstacleCentredOn(int32_t gx, int32_t gy, int32_t width, int32_t height, int32_t shape);

// The first obstacle, in list order, whose rectangle holds the cell with both
// bounds inclusive (the column and row just past it count too); the shape
// plays no part.  end() when none does.
LbmSimulator::ObstaclePosition FirstObstacleHit(const LbmSimulator::ObstacleList& obstacles, int32_t gx, int32_t gy);
