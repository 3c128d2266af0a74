// An axis-aligned rectangle as an x interval (left, right) and a y interval
// (top, bottom); top is the smaller y.
#pragma once

#include "geometry/Point.h"
#include "geometry/Range.h"

namespace cg {

struct rectangle_2 {
    range_2 x;
    range_2 y;

    constexpr rectangle_2() = default;
    constexpr rectangle_2(const range_2& x_, const range_2& y_) : x(x_), y(y_) {}
    constexpr rectangle_2(double x0, double y0, double x1, double y1) : x(x0, x1), y(y0, y1) {}
    constexpr rectangle_2(const point_2& a, const point_2& b) : x(a.x, b.x), y(a.y, b.y) {}

    constexpr double left() const { return x.lo(); }
    constexpr double right() const { return x.hi(); }
    constexpr double top() const { return y.lo(); }
    constexpr double bottom() const { return y.hi(); }
    constexpr double width() const { return x.size(); }
    constexpr double height() const { return y.size(); }
    constexpr point_2 center() const { return {x.center(), y.center()}; }

    constexpr rectangle_2& scale(const point_2& s)
    {
        x.scale(s.x);
        y.scale(s.y);
        return *this;
    }
    constexpr rectangle_2& offset(const point_2& d)
    {
        x.offset(d.x);
        y.offset(d.y);
        return *this;
    }
    constexpr rectangle_2& unite(const point_2& p)
    {
        x.unite(p.x);
        y.unite(p.y);
        return *this;
    }
};

}  // namespace cg
