// The obstacles of the presets.
#pragma once

#include <vector>

#include "sim/Lattice.h"

// "Poiseuille flow": two walls one cell high across the whole width, on the
// rows just inside the bottom and top frame rows, so the flow runs in a channel.
std::vector<Obstacle> PoiseuilleWalls(int width, int height);
