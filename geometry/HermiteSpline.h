// Piecewise cubic curve: polynomial i covers the global parameter [i, i + 1].
#pragma once

#include <vector>

#include "geometry/CubicPolynom.h"

namespace cg {

template <class P = point_2>
class HermiteSpline : public std::vector<CubicPolynom<P>> {
public:
    using scalar = typename P::value_type;

    // Picks the polynomial for the global parameter t and turns t into its
    // local parameter; values outside the curve are clamped to its ends.
    int GetIdx(scalar& t) const
    {
        const int n = static_cast<int>(this->size());
        const int i = cg::floor(t);
        if (i < 0) {
            t = 0;
            return 0;
        }
        if (i < n) {
            t -= i;
            return i;
        }
        t = 1;
        return n - 1;
    }

    // A curve without polynomials has no value; it yields the origin rather
    // than reading past the end.
    P Interpolate(scalar t) const
    {
        if (this->empty()) return P{};
        const int i = GetIdx(t);
        return (*this)[static_cast<size_t>(i)](t);
    }

    P operator()(scalar t) const { return Interpolate(t); }
};

}  // namespace cg
