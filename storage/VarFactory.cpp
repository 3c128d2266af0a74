#include "storage/VarFactory.h"

#include "storage/ColorRGBSplineVar.h"
#include "storage/ColorRGBVar.h"
#include "storage/DblVar.h"
#include "storage/EnumVar.h"
#include "storage/FltVar.h"
#include "storage/IntVar.h"
#include "storage/PropsVar.h"
#include "storage/Spline2DVar.h"
#include "storage/StrVar.h"

std::unique_ptr<CVar> CreateVar(const GLOBAL_VARIABLE_INFO& info)
{
    switch (info.type) {
    case VARKIND_STRING: return std::make_unique<CStrVar>(info);
    case VARKIND_INT: return std::make_unique<CIntVar>(info);
    case VARKIND_ENUM: return std::make_unique<CEnumVar>(info);
    case VARKIND_DOUBLE: return std::make_unique<CDblVar>(info);
    case VARKIND_FLOAT: return std::make_unique<CFltVar>(info);
    case VARKIND_SPLINE2D: return std::make_unique<CSpline2DVar>(info);
    case VARKIND_COLORRGB: return std::make_unique<CColorRGBVar>(info);
    case VARKIND_PROPS: return std::make_unique<CPropsVar>(info);
    case VARKIND_COLORRGBSPLINE: return std::make_unique<CColorRGBSplineVar>(info);
    default: return nullptr;
    }
}
