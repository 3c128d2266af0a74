// The obstacle list as text, one obstacle per line:
//     rect x y width height
//     ellipse x y width height
// (x, y) is the lower-left cell and may be negative; width and height count
// the cells covered.  "#" starts a comment; blank lines are allowed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/Lattice.h"

struct ObstacleTextError {
    int line = 0;  // 1-based; 0 when the text as a whole is at fault
    std::string message;
};

// Appends the text's obstacles to obstacles in file order.  On the first bad
// line returns false with its number and the reason, and appends nothing.
bool ParseObstacleText(std::string_view text, std::vector<Obstacle>& obstacles, ObstacleTextError* error);

// The text of a list, with a comment line that explains the format; any
// isEllipse other than 0 is written as an ellipse, as both solvers draw it.
std::string FormatObstacleText(const std::vector<Obstacle>& obstacles);
