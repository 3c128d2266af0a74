// The obstacle list as a text file (sim/ObstacleText.h has the format).
#pragma once

#include <string>
#include <vector>

#include "sim/Lattice.h"

// Appends the file's obstacles.  Returns an empty string, or a one-line
// reason ("line 7: ..." for a bad line), and then appends nothing.
std::string LoadObstacleFile(const std::string& path, std::vector<Obstacle>& obstacles);

// Replaces the file at path in one step; an empty string or the reason.
std::string SaveObstacleFile(const std::string& path, const std::vector<Obstacle>& obstacles);
