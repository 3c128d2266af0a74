// The affine map of an interval [a, b] onto [c, d], without clamping.
#pragma once

namespace cg {

template <class X = double, class Y = double>
struct Lerp {
    Y k{};
    Y offset{};

    constexpr Lerp() = default;
    // An empty interval (a == b) has no slope: the map is then the constant
    // c, the value Clamp gives at a, instead of an infinite or NaN slope.
    constexpr Lerp(X a, X b, Y c, Y d)
    {
        if (b - a == X(0)) {
            k = Y(0);
            offset = c;
        } else {
            k = (d - c) / (b - a);
            offset = c - a * k;
        }
    }

    constexpr Y operator()(X x) const { return x * k + offset; }
};

}  // namespace cg
