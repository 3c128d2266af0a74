// Variables and synthetic mouse input for the spline editor tests.
#pragma once

#include <memory>
#include <vector>

#include <QPoint>

#include "storage/ColorRGBSplineVar.h"
#include "storage/Spline2DVar.h"

class QWidget;

// Counts the stores a variable reports and keeps the last bytes.
class RecordingListener : public CVar::Event {
public:
    void OnVarChanged(const GUID&, const char*, const void* bytes, unsigned length) override;
    int calls = 0;
    std::vector<unsigned char> last;
};

std::unique_ptr<CSpline2DVar> MakeSplineVar(const std::vector<SPLINE2D_POINT>& points, double minX, double maxX,
                                            double minY, double maxY);
std::unique_ptr<CColorRGBSplineVar> MakeColorSplineVar(const std::vector<COLORRGBSPLINE_POINT>& points);

// Events as the window system delivers them; a move carries the held buttons.
void Press(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void Move(QWidget* w, QPoint at, Qt::MouseButtons held);
void Release(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton);
// Press, release, double click, release.
void DoubleClick(QWidget* w, QPoint at);
void Wheel(QWidget* w, QPoint at, int angle);
