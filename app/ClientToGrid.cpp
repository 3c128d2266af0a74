#include "app/ClientToGrid.h"

#include <cmath>
#include <limits>

GridPoint ClientToGrid(const ViewGeometry& view, int32_t px, int32_t py)
{
    GridPoint p;
    if (view.viewWidth <= 0 || view.gridWidth <= 0 || view.gridHeight <= 0)
        return p;
    // Integer products, truncating division: the same results as 32-bit
    // arithmetic for every size the editor allows, and no overflow for the
    // sizes it does not (values written into the parameters are unchecked).
    const int64_t gx = int64_t{px} * view.gridWidth / view.viewWidth;
    if (gx < INT32_MIN || gx > INT32_MAX)
        return p;
    p.gx = static_cast<int32_t>(gx);
    const double aspect = static_cast<double>(view.gridHeight) / static_cast<double>(view.gridWidth);
    const int64_t numerator = (int64_t{view.viewHeight} - py) * view.gridHeight;
    const double gy = static_cast<double>(numerator) / (static_cast<double>(view.viewWidth) * aspect);
    if (!(std::fabs(gy) < static_cast<double>(std::numeric_limits<int32_t>::max())))
        return p;
    p.gy = static_cast<int32_t>(gy);
    p.inside = p.gx >= 0 && p.gx < view.gridWidth && p.gy >= 0 && p.gy < view.gridHeight;
    return p;
}
