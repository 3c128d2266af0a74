// The colour ramp editor's view of a colour spline variable (not owned).
#pragma once

#include "editor/spline/CColorRGBSplineView.h"

class CColorRGBSplineVar;

class VarWrapper2 : public CColorRGBSplineView::IVar {
public:
    explicit VarWrapper2(CColorRGBSplineVar* var) : m_var(var) {}

    const std::vector<COLORRGBSPLINE_POINT>& GetValue() override;
    // Goes through the variable's SetValue, so the change reaches its listeners.
    void SetValue(const std::vector<COLORRGBSPLINE_POINT>& points) override;

private:
    CColorRGBSplineVar* m_var;
};
