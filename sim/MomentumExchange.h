// The force the flow exerts on the obstacles, by momentum exchange at the
// bounce-back links.  A link joins a fluid cell x (interior, not an
// obstacle) and an obstacle cell s = x + e_i (interior: frame cells are
// never obstacles).  In a lattice between steps, x holds the population
// f_i(x) about to stream into s, and s holds f_opp(i)(s), the population
// it bounced last step, about to stream back into x; over the next step
// the link takes e_i (f_i(x) + f_opp(i)(s)) of momentum out of the fluid.
// The sum over all links is the force on the obstacles, in lattice units
// (mass * cells / step^2), taken from any solver's FetchGridState.
#pragma once

#include <cstdint>
#include <limits>
#include <span>

#include "sim/Lattice.h"

struct BodyForce {
    double fx = 0.0;
    double fy = 0.0;
};

// Which obstacle cells count: columns first <= x < end.
struct ColumnRange {
    int first = 0;
    int end = std::numeric_limits<int>::max();
};

// cells and mask hold W * H entries in cell order (mask: nonzero on
// obstacle cells).  Sums in double, so that the many nearly cancelling
// links of a body in a fast flow keep their small difference.  A lattice
// or mask of the wrong size gives a zero force.
BodyForce MomentumExchangeForce(std::span<const LatticeCell> cells, std::span<const int32_t> mask, int W, int H,
                                ColumnRange obstacleColumns = {});
