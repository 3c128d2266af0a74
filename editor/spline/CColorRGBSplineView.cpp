#include "editor/spline/CColorRGBSplineView.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A channel in [0, 1] as a byte, truncated.  Components outside [0, 1] (the
// variable does not check them) and NaN stop at the ends, so the byte is
// always a colour.
unsigned ChannelByte(double v)
{
    if (!(v > 0)) return 0;
    if (v >= 1) return 255;
    return static_cast<unsigned>(v * 255);
}

double Channel(double a, double b, double x, double from, double to)
{
    if (x <= from) return a;
    if (x >= to) return b;
    return a + (x - from) * (b - a) / (to - from);
}

}  // namespace

CColorRGBSplineView::CColorRGBSplineView(IVar* var, QWidget* parent) : QWidget(parent), m_var(var)
{
    setMouseTracking(true);
    resize(kRampWidth + 2, 201);
    Load(true);
}

COLORREF CColorRGBSplineView::GetColor(const std::vector<COLORRGBSPLINE_POINT>& points, double x)
{
    const size_t n = points.size();
    if (n < 2) return MakeColorRef(255, 255, 255);
    size_t i = 1;
    while (i < n - 1 && !(points[i].pos > x)) ++i;
    const COLORRGBSPLINE_POINT& a = points[i - 1];
    const COLORRGBSPLINE_POINT& b = points[i];
    // Two markers at one place: the two ends decide before any division.
    return MakeColorRef(ChannelByte(Channel(a.r, b.r, x, a.pos, b.pos)),
                        ChannelByte(Channel(a.g, b.g, x, a.pos, b.pos)),
                        ChannelByte(Channel(a.b, b.b, x, a.pos, b.pos)));
}

void CColorRGBSplineView::Load(bool writeBack)
{
    m_points = m_var->GetValue();
    if (writeBack) Change();
}

void CColorRGBSplineView::Store()
{
    std::stable_sort(m_points.begin(), m_points.end());
    m_var->SetValue(m_points);
    m_points = m_var->GetValue();
    update();
}

void CColorRGBSplineView::Change() { Store(); }

int CColorRGBSplineView::MarkerAt(int x) const
{
    for (size_t i = 0; i < m_points.size(); ++i)
        if (std::abs(m_points[i].pos * kRampWidth - x) <= kPickDistance) return static_cast<int>(i);
    return -1;
}

void CColorRGBSplineView::On_Paint()
{
    QPainter painter(this);
    const QColor grey(128, 128, 128);
    painter.fillRect(QRect(0, 0, kRampWidth, 50), grey);
    painter.fillRect(QRect(0, 150, kRampWidth, 50), grey);
    for (int i = 0; i < 255; ++i) {
        const COLORREF c = GetColor(m_points, i / 255.0);
        painter.fillRect(QRect(2 * i, 50, 2, 100), QColor(ColorRefRed(c), ColorRefGreen(c), ColorRefBlue(c)));
    }
    painter.setPen(QPen(Qt::black, 1));
    for (const COLORRGBSPLINE_POINT& p : m_points) {
        const double x = std::trunc(kRampWidth * p.pos);
        if (!(std::abs(x) < 1e6)) continue;  // far off the ramp
        for (int dx = -1; dx <= 1; ++dx) painter.drawLine(QPointF(x + dx, 0), QPointF(x + dx, 199));
    }
}

void CColorRGBSplineView::On_LButtonDown(const QPoint& at) { m_index = MarkerAt(at.x()); }

void CColorRGBSplineView::On_MouseMove(const QPoint& at, bool buttonHeld)
{
    if (!buttonHeld) {
        On_ButtonUp();
        return;
    }
    if (m_index < 0 || m_index >= static_cast<int>(m_points.size())) return;
    // The window keeps the mouse while a button is down, so the cursor can be
    // far outside the ramp; the marker stays on it.
    const double pos = std::clamp(at.x() / double(kRampWidth), 0.0, 1.0);
    COLORRGBSPLINE_POINT moved = m_points[static_cast<size_t>(m_index)];
    moved.pos = pos;
    m_points[static_cast<size_t>(m_index)] = moved;
    Change();
    // Follow the marker if sorting moved it past a neighbour.
    for (size_t i = 0; i < m_points.size(); ++i) {
        if (std::memcmp(&m_points[i], &moved, sizeof moved) == 0) {
            m_index = static_cast<int>(i);
            break;
        }
    }
}

void CColorRGBSplineView::On_ButtonUp() { m_index = -1; }

void CColorRGBSplineView::On_LButtonDblClk(const QPoint& at)
{
    const int hit = MarkerAt(at.x());
    if (hit >= 0) {
        m_points.erase(m_points.begin() + hit);
    } else {
        const double pos = at.x() / double(kRampWidth);
        const COLORREF c = GetColor(m_points, pos);
        m_points.push_back(
            COLORRGBSPLINE_POINT{pos, ColorRefRed(c) / 255.0, ColorRefGreen(c) / 255.0, ColorRefBlue(c) / 255.0});
    }
    Store();
}

void CColorRGBSplineView::On_RButtonDown(const QPoint& at)
{
    const int hit = MarkerAt(at.x());
    if (hit < 0) return;
    COLORRGBSPLINE_POINT& p = m_points[static_cast<size_t>(hit)];
    COLORREF chosen = 0;
    if (!ChooseColor(MakeColorRef(ChannelByte(p.r), ChannelByte(p.g), ChannelByte(p.b)), &chosen)) return;
    p.r = ColorRefRed(chosen) / 255.0;
    p.g = ColorRefGreen(chosen) / 255.0;
    p.b = ColorRefBlue(chosen) / 255.0;
    Change();
}

bool CColorRGBSplineView::ChooseColor(COLORREF initial, COLORREF* chosen)
{
    // The custom colours live only for this call.
    QColor saved[16];
    for (int i = 0; i < 16; ++i) {
        saved[i] = QColorDialog::customColor(i);
        QColorDialog::setCustomColor(i, Qt::white);
    }
    QWidget* owner = parentWidget() ? parentWidget()->parentWidget() : nullptr;
    const QColor c = QColorDialog::getColor(
        QColor(ColorRefRed(initial), ColorRefGreen(initial), ColorRefBlue(initial)), owner ? owner : parentWidget());
    for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, saved[i]);
    if (!c.isValid()) return false;
    *chosen = MakeColorRef(c.red(), c.green(), c.blue());
    return true;
}

void CColorRGBSplineView::paintEvent(QPaintEvent*) { On_Paint(); }

void CColorRGBSplineView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) On_LButtonDown(at);
    else if (event->button() == Qt::RightButton) On_RButtonDown(at);
}

void CColorRGBSplineView::mouseMoveEvent(QMouseEvent* event)
{
    On_MouseMove(event->position().toPoint(), event->buttons() & (Qt::LeftButton | Qt::RightButton));
}

void CColorRGBSplineView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) On_ButtonUp();
}

void CColorRGBSplineView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) On_LButtonDblClk(event->position().toPoint());
}
