// The segment between two points.
#pragma once

#include "geometry/Point.h"

namespace cg {

struct segment_2 {
    point_2 p0;
    point_2 p1;

    constexpr segment_2() = default;
    constexpr segment_2(const point_2& a, const point_2& b) : p0(a), p1(b) {}

    constexpr point_2& operator[](int i) { return i == 0 ? p0 : p1; }
    constexpr const point_2& operator[](int i) const { return i == 0 ? p0 : p1; }
    double length() const { return distance(p0, p1); }
};

}  // namespace cg
