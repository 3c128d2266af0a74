#include "sim/ColourMaps.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// Eleven steps of a blue-white-red scheme made for diverging data, evenly
// spaced over [-1, 1], in 8-bit sRGB; the middle is lifted to pure white so
// that still fluid reads as blank paper.
constexpr unsigned char kDiverging[11][3] = {
    {5, 48, 97},    {33, 102, 172}, {67, 147, 195}, {146, 197, 222}, {209, 229, 240}, {255, 255, 255},
    {253, 219, 199}, {244, 165, 130}, {214, 96, 77},  {178, 24, 43},   {103, 0, 31},
};

// A degree-6 polynomial per channel fitted to a perceptually uniform
// sequential map: lightness rises steadily, hue turns from violet through
// teal to yellow, and it reads the same to colour-blind eyes.
constexpr double kSequential[7][3] = {
    {0.2777273272234177, 0.005407344544966578, 0.3340998053353061},
    {0.1050930431085774, 1.404613529898575, 1.384590162594685},
    {-0.3308618287255563, 0.214847559468213, 0.09509516302823659},
    {-4.634230498983486, -5.799100973351585, -19.33244095627987},
    {6.228269936347081, 14.17993336680509, 56.69055260068105},
    {4.776384997670288, -13.74514537774601, -65.35303263337234},
    {-5.435455855934631, 4.645852612178535, 26.3124352495832},
};

float Unit(double v) { return static_cast<float>(std::clamp(v, 0.0, 1.0)); }

}  // namespace

Rgb DivergingColour(float v)
{
    // NaN lands on the middle rather than on an end.
    const double t = std::isnan(v) ? 0.5 : (std::clamp(static_cast<double>(v), -1.0, 1.0) + 1.0) * 0.5;
    const double x = t * 10.0;
    const int k = std::min(static_cast<int>(x), 9);
    const double f = x - k;
    double c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = (kDiverging[k][i] * (1.0 - f) + kDiverging[k + 1][i] * f) / 255.0;
    return {Unit(c[0]), Unit(c[1]), Unit(c[2])};
}

Rgb SequentialColour(float t)
{
    const double x = std::isnan(t) ? 0.0 : std::clamp(static_cast<double>(t), 0.0, 1.0);
    double c[3];
    for (int i = 0; i < 3; ++i) {
        double sum = kSequential[6][i];
        for (int k = 5; k >= 0; --k)
            sum = sum * x + kSequential[k][i];
        c[i] = sum;
    }
    return {Unit(c[0]), Unit(c[1]), Unit(c[2])};
}

std::vector<float> BuildColourMaps()
{
    std::vector<float> texels(static_cast<size_t>(kColourMapSize) * 2 * 4);
    for (int j = 0; j < kColourMapSize; ++j) {
        const float t = static_cast<float>(j) / static_cast<float>(kColourMapSize - 1);
        const Rgb rows[2] = {DivergingColour(2.0f * t - 1.0f), SequentialColour(t)};
        for (int row = 0; row < 2; ++row) {
            float* texel = &texels[(static_cast<size_t>(row) * kColourMapSize + static_cast<size_t>(j)) * 4];
            texel[0] = rows[row].r;
            texel[1] = rows[row].g;
            texel[2] = rows[row].b;
            texel[3] = 1.0f;
        }
    }
    return texels;
}

const std::vector<float>& ColourMaps()
{
    static const std::vector<float> maps = BuildColourMaps();
    return maps;
}
