#include "editor/spline/VarWrapper.h"

#include "storage/Spline2DVar.h"

const std::vector<SPLINE2D_POINT>& VarWrapper::GetValue() { return m_var->GetPoints(); }

void VarWrapper::SetValue(const std::vector<SPLINE2D_POINT>& points)
{
    m_var->SetValue(points.data(), static_cast<unsigned>(points.size() * sizeof(SPLINE2D_POINT)));
}

double VarWrapper::GetMinX() { return m_var->GetMinX(); }
double VarWrapper::GetMaxX() { return m_var->GetMaxX(); }
double VarWrapper::GetMinY() { return m_var->GetMinY(); }
double VarWrapper::GetMaxY() { return m_var->GetMaxY(); }
