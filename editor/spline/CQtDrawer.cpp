#include "editor/spline/CQtDrawer.h"

#include <cmath>

#include <QFontMetrics>
#include <QPalette>
#include <QWidget>

namespace {

Qt::PenStyle ToQtStyle(int style)
{
    switch (style) {
    case CDrawer::PS_DASH: return Qt::DashLine;
    case CDrawer::PS_DOT: return Qt::DotLine;
    case CDrawer::PS_DASHDOT: return Qt::DashDotLine;
    case CDrawer::PS_DASHDOTDOT: return Qt::DashDotDotLine;
    case CDrawer::PS_NULL: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

// Points of a window without extent map to NaN or infinity: nothing to draw.
bool Drawable(const cg::point_2& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

QColor ToQColor(COLORREF c) { return QColor(ColorRefRed(c), ColorRefGreen(c), ColorRefBlue(c)); }

}  // namespace

CQtDrawer::CQtDrawer(QWidget* window)
    : CDrawer(window), m_pen(Qt::black, 1, Qt::SolidLine), m_brush(Qt::black), m_font(QStringLiteral("Arial"))
{
    m_font.setPixelSize(12);
    m_font.setWeight(QFont::Normal);
    m_font.setStyleStrategy(QFont::PreferOutline);
    m_ascent = QFontMetrics(m_font).ascent();
    On_Resize();
}

CQtDrawer::~CQtDrawer()
{
    if (m_painter.isActive()) m_painter.end();
}

void CQtDrawer::BeginDraw()
{
    m_drawing = true;
    if (!m_needsRedraw || m_image.isNull()) return;
    m_painter.begin(&m_image);
    const QColor face = m_window ? m_window->palette().color(QPalette::Button) : QColor(Qt::lightGray);
    m_painter.fillRect(m_image.rect(), face);
    m_painter.setFont(m_font);
    ApplyTools();
}

void CQtDrawer::EndDraw()
{
    if (m_painter.isActive()) m_painter.end();
    // Outside a paint event of the window there is nothing to copy to.
    if (m_window && m_window->testAttribute(Qt::WA_WState_InPaintEvent) && !m_image.isNull()) {
        QPainter screen(m_window);
        screen.drawImage(QPointF(m_viewport.left(), m_viewport.top()), m_image);
    }
    m_needsRedraw = false;
    m_drawing = false;
}

void CQtDrawer::SetColor(COLORREF colour, int width, int style)
{
    const QColor c = ToQColor(colour);
    m_pen = QPen(c, width, ToQtStyle(style));
    m_brush = QBrush(c);
    ApplyTools();
}

void CQtDrawer::ApplyTools()
{
    if (!m_painter.isActive()) return;
    m_painter.setPen(m_pen);
    m_painter.setBrush(m_brush);
}

void CQtDrawer::DrawIndirect(const cg::point_2& at, const char* text)
{
    if (!m_painter.isActive() || !text || !Drawable(at)) return;
    // The point is the top-left corner of the text, on a clear background.
    m_painter.drawText(QPointF(at.x, at.y + m_ascent), QString::fromUtf8(text));
}

void CQtDrawer::DrawIndirect(const cg::segment_2& s)
{
    if (!m_painter.isActive() || !Drawable(s.p0) || !Drawable(s.p1)) return;
    m_painter.drawLine(QPointF(s.p0.x, s.p0.y), QPointF(s.p1.x, s.p1.y));
}

void CQtDrawer::DrawIndirect(const cg::point_2& at)
{
    if (!m_painter.isActive() || !Drawable(at)) return;
    m_painter.setPen(QPen(Qt::black, 1));
    m_painter.drawEllipse(QPointF(at.x, at.y), kDotRadius, kDotRadius);
    m_painter.setPen(m_pen);
}

QPainter* CQtDrawer::GetDC() { return m_painter.isActive() ? &m_painter : nullptr; }

void CQtDrawer::On_Resize()
{
    const int w = m_window ? m_window->width() : 0;
    const int h = m_window ? m_window->height() : 0;
    m_viewport = cg::rectangle_2(0, 0, w, h);
    // The x interval stays; y is re-centred with a height that follows the
    // client's aspect ratio.
    constexpr double tiny = 2.220446049250313e-16;
    const double cw = std::abs(double(w)) < tiny ? tiny : double(w);
    const double ch = std::abs(double(h)) < tiny ? tiny : double(h);
    const double half = (m_windowRect.right() - m_windowRect.left() + 1) * 2 * ch / (3 * cw);
    const double cy = m_windowRect.center().y;
    m_windowRect = cg::rectangle_2(cg::range_2(m_windowRect.left(), m_windowRect.right()), cg::range_2(cy - half, cy + half));
    if (m_painter.isActive()) m_painter.end();
    m_image = w > 0 && h > 0 ? QImage(w, h, QImage::Format_RGB32) : QImage();
    m_needsRedraw = true;
}
