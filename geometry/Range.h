// A closed interval of the real line, kept with lo <= hi.
#pragma once

#include "geometry/Scalar.h"

namespace cg {

struct range_2 {
    double lo_ = 0;
    double hi_ = 0;

    constexpr range_2() = default;
    constexpr range_2(double a, double b) { sort2(a, b, &lo_, &hi_); }

    constexpr double lo() const { return lo_; }
    constexpr double hi() const { return hi_; }
    constexpr double size() const { return hi_ - lo_; }
    constexpr double center() const { return (lo_ + hi_) / 2; }

    constexpr range_2& scale(double s)
    {
        lo_ *= s;
        hi_ *= s;
        return *this;
    }
    constexpr range_2& offset(double d)
    {
        lo_ += d;
        hi_ += d;
        return *this;
    }
    constexpr range_2& unite(double x)
    {
        make_min(&lo_, x);
        make_max(&hi_, x);
        return *this;
    }
    constexpr bool contains(double x) const { return lo_ <= x && x <= hi_; }
};

}  // namespace cg
