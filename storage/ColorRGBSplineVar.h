// Kind 8: a colour ramp of markers ordered by position.
#pragma once

#include "storage/VectorVar.h"

class CColorRGBSplineVar : public CVectorVar<COLORRGBSPLINE_POINT, VARKIND_COLORRGBSPLINE> {
public:
    using CVectorVar::CVectorVar;
};
