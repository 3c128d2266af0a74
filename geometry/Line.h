// The line through two points.
#pragma once

#include "geometry/Point.h"

namespace cg {

struct line_2 {
    point_2 p0;
    point_2 p1;

    constexpr line_2() = default;
    constexpr line_2(const point_2& a, const point_2& b) : p0(a), p1(b) {}

    constexpr point_2 direction() const { return p1 - p0; }
    // The point at parameter t: p0 at 0, p1 at 1.
    constexpr point_2 operator()(double t) const { return p0 + direction() * t; }
};

}  // namespace cg
