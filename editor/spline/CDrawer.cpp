#include "editor/spline/CDrawer.h"

#include <QWidget>

#include "geometry/Scalar.h"

void CDrawer::ReDraw()
{
    m_needsRedraw = true;
    if (m_window) m_window->update();
}

namespace {

// Scaled by 255 and truncated; out-of-range components stop at the ends.
unsigned ToByte(double component)
{
    const double v = component * 255;
    if (!(v > 0)) return 0;
    if (v >= 255) return 255;
    return static_cast<unsigned>(v);
}

}  // namespace

void CDrawer::SetColor(double red, double green, double blue, int width, int style)
{
    SetColor(MakeColorRef(ToByte(red), ToByte(green), ToByte(blue)), width, style);
}

void CDrawer::Draw(const cg::point_2& at, const char* text) { DrawIndirect(Transform(at), text); }

void CDrawer::Draw(const cg::segment_2& segment)
{
    DrawIndirect(cg::segment_2(Transform(segment.p0), Transform(segment.p1)));
}

void CDrawer::Draw(const cg::point_2& at) { DrawIndirect(Transform(at)); }

void CDrawer::SetWindow(const cg::rectangle_2& window) { m_windowRect = window; }

cg::point_2 CDrawer::Transform(const cg::point_2& p) const
{
    const cg::rectangle_2& w = m_windowRect;
    const cg::rectangle_2& v = m_viewport;
    if (cg::eq_zero(w.right() - w.left()) || cg::eq_zero(w.top() - w.bottom())) return {};
    return {(p.x - (w.left() + w.right()) / 2) / (w.right() - w.left()) * (v.right() - v.left()) +
                (v.left() + v.right()) / 2,
            (p.y - (w.top() + w.bottom()) / 2) / (w.top() - w.bottom()) * (v.bottom() - v.top()) +
                (v.top() + v.bottom()) / 2};
}

// A viewport without area has no inverse: every pixel then names the centre
// of the window rather than an infinite point.
cg::point_2 CDrawer::UnTransform(const cg::point_2& p) const
{
    const cg::rectangle_2& w = m_windowRect;
    const cg::rectangle_2& v = m_viewport;
    const cg::point_2 centre = w.center();
    if (cg::eq_zero(v.right() - v.left()) || cg::eq_zero(v.bottom() - v.top())) return centre;
    return {(p.x - (v.left() + v.right()) / 2) / (v.right() - v.left()) * (w.right() - w.left()) + centre.x,
            (p.y - (v.top() + v.bottom()) / 2) / (v.bottom() - v.top()) * (w.top() - w.bottom()) + centre.y};
}
