// The affine map of [a, b] onto [c, d], clamped to c below a and d above b.
#pragma once

namespace cg {

template <class X = double, class Y = double>
struct Clamp {
    X a{};
    X b{};
    Y c{};
    Y d{};

    constexpr Clamp() = default;
    constexpr Clamp(X a_, X b_, Y c_, Y d_) : a(a_), b(b_), c(c_), d(d_) {}

    // The two ends are tested first, so an empty or reversed interval never
    // reaches the division: it maps to c up to a and to d beyond.
    constexpr Y operator()(X x) const
    {
        if (x <= a) return c;
        if (x >= b) return d;
        const Y k = (d - c) / (b - a);
        return c - a * k + x * k;
    }
};

}  // namespace cg
