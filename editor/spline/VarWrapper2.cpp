#include "editor/spline/VarWrapper2.h"

#include "storage/ColorRGBSplineVar.h"

const std::vector<COLORRGBSPLINE_POINT>& VarWrapper2::GetValue() { return m_var->GetPoints(); }

void VarWrapper2::SetValue(const std::vector<COLORRGBSPLINE_POINT>& points)
{
    m_var->SetValue(points.data(), static_cast<unsigned>(points.size() * sizeof(COLORRGBSPLINE_POINT)));
}
