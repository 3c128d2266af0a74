// Kind 5: a 2-D spline; its bounds give the editing area.
#pragma once

#include "storage/VectorVar.h"

class CSpline2DVar : public CVectorVar<SPLINE2D_POINT, VARKIND_SPLINE2D> {
public:
    using CVectorVar::CVectorVar;

    double GetMinX() const { return GetLower().x; }
    double GetMaxX() const { return GetUpper().x; }
    double GetMinY() const { return GetLower().y; }
    double GetMaxY() const { return GetUpper().y; }
};
