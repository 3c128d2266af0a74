// The curve editor's view of a 2-D spline variable (not owned).
#pragma once

#include "editor/spline/CSplineView.h"

class CSpline2DVar;

class VarWrapper : public CSplineView::IVar {
public:
    explicit VarWrapper(CSpline2DVar* var) : m_var(var) {}

    const std::vector<SPLINE2D_POINT>& GetValue() override;
    // Goes through the variable's SetValue, so the change reaches its listeners.
    void SetValue(const std::vector<SPLINE2D_POINT>& points) override;
    double GetMinX() override;
    double GetMaxX() override;
    double GetMinY() override;
    double GetMaxY() override;

private:
    CSpline2DVar* m_var;
};
