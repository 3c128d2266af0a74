// The colour maps of the scalar views, shared by both solvers as one small
// texture: row 0 a diverging map (blue below zero, white at zero, red
// above), row 1 a perceptually uniform sequential map (dark violet through
// teal to yellow).  The programs look a value up at
//   s = (t * (kColourMapSize - 1) + 0.5) / kColourMapSize
// with t in [0, 1] (the diverging map takes t = (v + 1) / 2 for v in
// [-1, 1]), so both ends fall on texel centres and linear filtering
// interpolates between neighbouring entries.  The programs draw obstacle
// cells mid grey (0.5), on neither map, so a body stands out against any
// flow.
#pragma once

#include <vector>

#include "sim/HueWheel.h"

inline constexpr int kColourMapSize = 256;
inline constexpr int kDivergingRow = 0;
inline constexpr int kSequentialRow = 1;

// v in [-1, 1], clamped; 0 is white.
Rgb DivergingColour(float v);
// t in [0, 1], clamped; lightness grows with t.
Rgb SequentialColour(float t);

// kColourMapSize x 2 texels of R, G, B, A floats, row 0 first.
std::vector<float> BuildColourMaps();

// The process-wide table, built on first use and kept until exit.
const std::vector<float>& ColourMaps();
