// A cubic C0 + C1 t + C2 t^2 + C3 t^3 with point coefficients.
#pragma once

#include "geometry/Point.h"

namespace cg {

template <class P = point_2>
struct CubicPolynom {
    using scalar = typename P::value_type;

    P C0{};
    P C1{};
    P C2{};
    P C3{};

    // Horner's rule per component.
    constexpr P operator()(scalar t) const
    {
        P v = C3;
        v *= t;
        v += C2;
        v *= t;
        v += C1;
        v *= t;
        v += C0;
        return v;
    }
};

}  // namespace cg
