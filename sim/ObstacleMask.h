// Which cells the obstacle list covers.  Both solvers and the tests use the
// same coverage rule; the CPU solver keeps the result as a mask.
#pragma once

#include <cstdint>
#include <list>
#include <span>

#include "sim/Lattice.h"

// Ellipse test at the cell centre, in 32-bit floats.  The caller has already
// checked that (c, r) lies inside the obstacle's rectangle.
bool EllipseCoversCell(const Obstacle& o, int c, int r);

bool ObstacleCoversCell(const Obstacle& o, int c, int r);

// mask holds W*H entries in cell order; 1 for a covered cell, 0 otherwise.
// Degenerate and far-away obstacles mark nothing and never index outside.
void BuildObstacleMask(std::span<int32_t> mask, int W, int H, const std::list<Obstacle>& obstacles);
