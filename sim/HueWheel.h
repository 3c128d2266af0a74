// The colour disc that maps a velocity to a colour: direction as hue,
// length as lightness (black at the centre, saturated at radius 0.5, white
// at the rim, black outside).
#pragma once

#include <vector>

struct Rgb {
    float r, g, b;
};

Rgb HslToRgb(float h, float s, float l);

inline constexpr int kHueWheelSize = 512;

// 512 x 512 texels of R, G, B, A floats, row 0 first; texel (column j,
// row i) starts at element 4 * (i * 512 + j).
std::vector<float> BuildHueWheel();

// The process-wide wheel, built on first use and kept until exit.
const std::vector<float>& HueWheel();
