#include "sim/HueWheel.h"

#include <cmath>

Rgb HslToRgb(float h, float s, float l)
{
    const float q = l < 0.5f ? l * (1.0f + s) : l + s - l * s;
    const float p = 2.0f * l - q;
    auto channel = [p, q](float t) {
        t = std::fmod(t + 1.0f, 1.0f);
        if (t < 0.16666667f)
            return p + (q - p) * t * 6.0f;
        if (t < 0.5f)
            return q;
        if (t < 0.6666667f)
            return p + (q - p) * (0.6666667f - t) * 6.0f;
        return p;
    };
    return {channel(h + 0.33333334f), channel(h), channel(h - 0.33333334f)};
}

std::vector<float> BuildHueWheel()
{
    std::vector<float> texels(static_cast<size_t>(kHueWheelSize) * kHueWheelSize * 4);
    for (int i = 0; i < kHueWheelSize; ++i) {
        for (int j = 0; j < kHueWheelSize; ++j) {
            const float x = static_cast<float>(j) * 0.00390625f - 1.0f;
            const float y = static_cast<float>(i) * 0.00390625f - 1.0f;
            const float r = std::sqrt(x * x + y * y);
            Rgb colour{0.0f, 0.0f, 0.0f};
            if (r <= 1.0f) {
                const float h = static_cast<float>(std::atan2(y, x) * 0.15915494309189535 + 0.5);
                colour = HslToRgb(h, 1.0f, r);
            }
            float* t = &texels[(static_cast<size_t>(i) * kHueWheelSize + static_cast<size_t>(j)) * 4];
            t[0] = colour.r;
            t[1] = colour.g;
            t[2] = colour.b;
            t[3] = 1.0f;
        }
    }
    return texels;
}

const std::vector<float>& HueWheel()
{
    static const std::vector<float> wheel = BuildHueWheel();
    return wheel;
}
