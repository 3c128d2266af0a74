#include "SplineTestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

void RecordingListener::OnVarChanged(const GUID&, const char*, const void* bytes, unsigned length)
{
    ++calls;
    const auto* b = static_cast<const unsigned char*>(bytes);
    last.assign(b, b + (bytes ? length : 0));
}

std::unique_ptr<CSpline2DVar> MakeSplineVar(const std::vector<SPLINE2D_POINT>& points, double minX, double maxX,
                                            double minY, double maxY)
{
    GLOBAL_VARIABLE_INFO info{};
    info.name = "curves|gain";
    info.type = VARKIND_SPLINE2D;
    info.spline.lower = SPLINE2D_POINT{minX, minY, 0, 0};
    info.spline.upper = SPLINE2D_POINT{maxX, maxY, 0, 0};
    info.spline.count = static_cast<int32_t>(points.size());
    info.spline.points = points.data();
    info.spline.defaultCount = static_cast<int32_t>(points.size());
    info.spline.defaultPoints = points.data();
    return std::make_unique<CSpline2DVar>(info);
}

std::unique_ptr<CColorRGBSplineVar> MakeColorSplineVar(const std::vector<COLORRGBSPLINE_POINT>& points)
{
    GLOBAL_VARIABLE_INFO info{};
    info.name = "view|palette";
    info.type = VARKIND_COLORRGBSPLINE;
    info.colorSpline.count = static_cast<int32_t>(points.size());
    info.colorSpline.points = points.data();
    return std::make_unique<CColorRGBSplineVar>(info);
}

namespace {

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace

void Press(QWidget* w, QPoint at, Qt::MouseButton button) { SendMouse(w, QEvent::MouseButtonPress, at, button, button); }

void Move(QWidget* w, QPoint at, Qt::MouseButtons held) { SendMouse(w, QEvent::MouseMove, at, Qt::NoButton, held); }

void Release(QWidget* w, QPoint at, Qt::MouseButton button)
{
    SendMouse(w, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

void DoubleClick(QWidget* w, QPoint at)
{
    Press(w, at);
    Release(w, at);
    SendMouse(w, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    Release(w, at);
}

void Wheel(QWidget* w, QPoint at, int angle)
{
    QWheelEvent e(QPointF(at), QPointF(w->mapToGlobal(at)), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}
