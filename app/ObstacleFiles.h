// The obstacle list as a text file (sim/ObstacleText.h has the format).
#pragma once

#include <string>
#include <vector>

#include "sim/Lattice.h"

// Appends the file's obstacles.  Returns an empty string, or a one-line
// reason ("line 7: ..." for a bad line), and then appends nothing.
std::string LoadObstacleFile(const std::string& path, std::vector<Obstacle>& obstacles);

// Why a list would make a file that cannot be read again (more obstacles
// than a file may hold, or one outside a file's range), or an empty string.
// A flow gathers obstacles without a bound, by clicks and repeated loads.
std::string UnstorableObstacles(const std::vector<Obstacle>& obstacles);

// Replaces the file at path in one step; an empty string or the reason.
// A list that could not be read again is refused and nothing is written.
std::string SaveObstacleFile(const std::string& path, const std::vector<Obstacle>& obstacles);
