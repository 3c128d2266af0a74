#include "editor/spline/CSplineView.h"

#include <cmath>
#include <cstdio>

#include <QMouseEvent>
#include <QPalette>
#include <QWheelEvent>

#include "editor/spline/CQtDrawer.h"

namespace {

COLORREF PaletteColor(const QWidget* w, QPalette::ColorGroup group, QPalette::ColorRole role)
{
    const QColor c = w->palette().color(group, role);
    return MakeColorRef(c.red(), c.green(), c.blue());
}

// Lines are drawn for multiples of step strictly between lo and hi, out from
// zero on each side.  Only the multiples inside the interval are visited: the
// others fall outside the picture, and visiting them would take forever on a
// view panned far from the origin.
template <class F>
void ForEachGridLine(double lo, double hi, double step, F&& line)
{
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(lo) || !std::isfinite(hi)) return;
    constexpr int kMaxLines = 10000;
    const double firstUp = std::max(1.0, std::floor(lo / step));
    int count = 0;
    for (double k = firstUp; k * step < hi && count < kMaxLines; ++k, ++count) line(k * step);
    const double firstDown = std::max(1.0, std::floor(-hi / step));
    count = 0;
    for (double k = firstDown; -k * step > lo && count < kMaxLines; ++k, ++count) line(-k * step);
}

}  // namespace

CSplineView::CSplineView(IVar* var, QWidget* parent) : QWidget(parent), m_var(var)
{
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers the whole client area
    setMouseTracking(true);
    m_drawer = std::make_unique<CQtDrawer>(this);
    Load(true);
}

CSplineView::~CSplineView() = default;

void CSplineView::SetVisible(const cg::rectangle_2& visible)
{
    m_visible = visible;
    m_drawer->ReDraw();
}

void CSplineView::Load(bool resetView)
{
    if (resetView) m_visible = cg::rectangle_2(-0.5, -0.5, 0.5, 0.5);
    m_curve.clear();
    for (const SPLINE2D_POINT& p : m_var->GetValue()) {
        if (resetView) m_visible.unite(cg::point_2(p.x, p.y));
        m_curve.push_back(cg::point_2(p.x, p.y), cg::point_2(p.dx, p.dy));
    }
    if (resetView) Change();
}

void CSplineView::Change()
{
    const double minX = m_var->GetMinX(), maxX = m_var->GetMaxX();
    const double minY = m_var->GetMinY(), maxY = m_var->GetMaxY();
    m_out.clear();
    for (int i = 0; i < m_curve.size(); ++i) {
        cg::point_2 p = m_curve[i];
        cg::make_max(&p.x, minX);
        cg::make_min(&p.x, maxX);
        cg::make_max(&p.y, minY);
        cg::make_min(&p.y, maxY);
        const cg::point_2 d = m_curve.dir(i);
        m_out.push_back(SPLINE2D_POINT{p.x, p.y, d.x, d.y});
    }
    m_var->SetValue(m_out);
    Load(false);
}

double CSplineView::GridStep(double extent) { return std::pow(10.0, cg::floor(std::log10(extent * 0.2))); }

cg::point_2 CSplineView::ToWorld(const QPoint& at) const
{
    m_drawer->SetWindow(m_visible);
    return m_drawer->UnTransform(cg::point_2(at.x(), at.y()));
}

CSplineView::Hit CSplineView::HitTest(const QPoint& at, bool pointsOnly) const
{
    m_drawer->SetWindow(m_visible);
    const cg::point_2 cursor(at.x(), at.y());
    auto near = [&](const cg::point_2& world) { return cg::distance(m_drawer->Transform(world), cursor) < kHitRadius; };
    for (int i = 0; i < m_curve.size(); ++i) {
        const cg::point_2 p = m_curve[i];
        if (near(p)) return {i, 0};
        if (pointsOnly) continue;
        const cg::point_2 d = m_curve.dir(i);
        if (near(p - d)) return {i, 1};
        if (near(p + d)) return {i, 2};
    }
    return {};
}

int CSplineView::NearestPoint(const cg::point_2& p) const
{
    int best = -1;
    double bestDistance = 0;
    for (int i = 0; i < m_curve.size(); ++i) {
        const double d = cg::distance(m_curve[i], p);
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

void CSplineView::On_Paint()
{
    m_drawer->BeginDraw();
    m_drawer->SetWindow(m_visible);
    if (m_drawer->Updated()) {
        DrawGrid();
        const COLORREF text = PaletteColor(this, QPalette::Active, QPalette::ButtonText);
        for (int i = 0; i < m_curve.size(); ++i) {
            const cg::point_2 p = m_curve[i];
            const cg::point_2 d = m_curve.dir(i);
            m_drawer->SetColor(text, 1, CDrawer::PS_SOLID);
            m_drawer->Draw(p);
            m_drawer->SetColor(MakeColorRef(200, 0, 0), 1, CDrawer::PS_SOLID);
            m_drawer->Draw(cg::segment_2(p, p - d));
            m_drawer->Draw(p - d);
            m_drawer->SetColor(MakeColorRef(0, 200, 0), 1, CDrawer::PS_SOLID);
            m_drawer->Draw(cg::segment_2(p, p + d));
            m_drawer->Draw(p + d);
        }
        DrawCurve();
    }
    m_drawer->EndDraw();
}

void CSplineView::DrawGrid()
{
    const cg::rectangle_2& v = m_visible;
    m_drawer->SetColor(PaletteColor(this, QPalette::Disabled, QPalette::WindowText), 1, CDrawer::PS_SOLID);
    m_drawer->Draw(cg::segment_2(cg::point_2(v.left(), 0), cg::point_2(v.right(), 0)));
    m_drawer->Draw(cg::segment_2(cg::point_2(0, v.top()), cg::point_2(0, v.bottom())));
    char label[64];
    const double wy = (v.right() - v.left()) / 90;
    ForEachGridLine(v.top(), v.bottom(), GridStep(v.bottom() - v.top()), [&](double y) {
        m_drawer->Draw(cg::segment_2(cg::point_2(v.left(), y), cg::point_2(v.right(), y)));
        std::snprintf(label, sizeof label, "%lg", y);
        m_drawer->Draw(cg::point_2(-wy, y), label);
    });
    const double wx = (v.bottom() - v.top()) / 90;
    ForEachGridLine(v.left(), v.right(), GridStep(v.right() - v.left()), [&](double x) {
        m_drawer->Draw(cg::segment_2(cg::point_2(x, v.top()), cg::point_2(x, v.bottom())));
        std::snprintf(label, sizeof label, "%lg", x);
        m_drawer->Draw(cg::point_2(x, -wx), label);
    });
}

// A polyline through (x, f(x)) from the first control point, x advanced by
// the sample step while it stays below the last control point.  Samples
// outside the visible x interval are skipped, as they draw nothing; and when
// the view is zoomed out so far that samples would crowd more than a few to
// a pixel, only every so many samples are taken, so that a frame stays
// bounded however wide the view.
void CSplineView::DrawCurve()
{
    const int n = m_curve.size();
    if (n == 0) return;
    m_drawer->SetColor(MakeColorRef(0, 0, 255), 1, CDrawer::PS_SOLID);
    const double first = m_curve[0].x;
    const double last = m_curve[n - 1].x;
    const double from = std::max(first, m_visible.left() - kSampleStep);
    const double to = std::min(last, m_visible.right() + kSampleStep);
    if (!(from <= to)) return;
    const double pixels = std::max(1.0, m_drawer->GetViewport().right() - m_drawer->GetViewport().left());
    const double samples = (to - from) / kSampleStep;
    const double stride = samples > 4 * pixels ? std::ceil(samples / (2 * pixels)) : 1.0;
    double k = std::floor((from - first) / kSampleStep);
    const double x = first + k * kSampleStep;
    cg::point_2 previous(x, m_curve(x));
    for (k += stride;; k += stride) {
        const double next = first + k * kSampleStep;
        if (!(next < last) || next > to + stride * kSampleStep) break;
        const cg::point_2 p(next, m_curve(next));
        m_drawer->Draw(cg::segment_2(previous, p));
        previous = p;
    }
}

void CSplineView::On_LButtonDown(const QPoint& at)
{
    const Hit hit = HitTest(at, false);
    if (hit.index >= 0) {
        m_index = hit.index;
        m_mode = hit.handle == 0 ? DRAG_POINT : DRAG_HANDLE;
        m_handle = hit.handle;
        return;
    }
    m_mode = DRAG_PAN;
    m_index = -1;
    m_panStart = m_visible;
    m_panGrab = ToWorld(at);
    const cg::point_2& g = m_panGrab;
    m_panRef = cg::rectangle_2(cg::range_2(-m_visible.right() - g.x, -m_visible.left() - g.x),
                               cg::range_2(-m_visible.bottom() - g.y, -m_visible.top() - g.y));
}

void CSplineView::On_MouseMove(const QPoint& at, bool buttonHeld)
{
    if (!buttonHeld) {
        On_ButtonUp();
        return;
    }
    // A drag whose point went away (merged with another by clamping) ends.
    if ((m_mode == DRAG_POINT || m_mode == DRAG_HANDLE) && (m_index < 0 || m_index >= m_curve.size())) {
        On_ButtonUp();
        return;
    }
    switch (m_mode) {
    case DRAG_POINT: {
        const cg::point_2 c = ToWorld(at);
        m_curve.set_point(m_index, c);
        Change();
        cg::point_2 placed = c;  // where the write-back put it
        cg::make_max(&placed.x, m_var->GetMinX());
        cg::make_min(&placed.x, m_var->GetMaxX());
        cg::make_max(&placed.y, m_var->GetMinY());
        cg::make_min(&placed.y, m_var->GetMaxY());
        m_index = NearestPoint(placed);
        break;
    }
    case DRAG_HANDLE: {
        const cg::point_2 c = ToWorld(at);
        const cg::point_2 p = m_curve[m_index];
        m_curve.set_direction(m_index, m_handle == 1 ? p - c : c - p);
        Change();
        break;
    }
    case DRAG_PAN: {
        m_drawer->SetWindow(m_panStart);
        const cg::point_2 c = m_drawer->UnTransform(cg::point_2(at.x(), at.y()));
        const cg::point_2 shift = m_panGrab - c;
        m_visible = cg::rectangle_2(cg::range_2(m_panStart.left() + shift.x, m_panStart.right() + shift.x),
                                    cg::range_2(m_panStart.top() + shift.y, m_panStart.bottom() + shift.y));
        m_drawer->SetWindow(m_visible);
        break;
    }
    default: return;
    }
    m_drawer->ReDraw();
}

void CSplineView::On_ButtonUp()
{
    m_mode = DRAG_NONE;
    m_index = -1;
    m_handle = 0;
}

void CSplineView::On_LButtonDblClk(const QPoint& at)
{
    const Hit hit = HitTest(at, true);
    if (hit.index >= 0) m_curve.erase(hit.index);
    else m_curve.push_back(ToWorld(at), cg::point_2(1, 1));
    Change();
    m_drawer->ReDraw();
}

void CSplineView::On_MouseWheel(bool forward)
{
    const cg::point_2 c = m_visible.center();
    const double s = forward ? 0.9 : 1.1111111111111112;
    m_visible.offset(-c).scale(cg::point_2(s, s)).offset(c);
    m_drawer->ReDraw();
}

void CSplineView::On_Size()
{
    m_drawer->On_Resize();
    m_drawer->ReDraw();
}

void CSplineView::paintEvent(QPaintEvent*) { On_Paint(); }

void CSplineView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) On_LButtonDown(event->position().toPoint());
}

void CSplineView::mouseMoveEvent(QMouseEvent* event)
{
    On_MouseMove(event->position().toPoint(), event->buttons() & (Qt::LeftButton | Qt::RightButton));
}

void CSplineView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) On_ButtonUp();
}

// Not passed on as a press: the second click of a double click is only a
// double click.
void CSplineView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) On_LButtonDblClk(event->position().toPoint());
}

void CSplineView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0) On_MouseWheel(delta > 0);
    event->accept();
}

void CSplineView::resizeEvent(QResizeEvent*) { On_Size(); }
