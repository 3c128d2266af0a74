// Shows the "Spline Editor" and the "Color RGB Spline Editor" side by side
// over sample variables until the window system closes them.
#include <QApplication>

#include "editor/spline/CVarColorRGBSplineEdit.h"
#include "editor/spline/CVarSplineEdit.h"
#include "storage/ColorRGBSplineVar.h"
#include "storage/Spline2DVar.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const SPLINE2D_POINT curve[] = {{0, 0, 0.5, 0.2}, {1, 0.8, 0.3, 0.1}, {2, 0.3, 0.4, -0.3}, {3, 1, 0.5, 0.5}};
    GLOBAL_VARIABLE_INFO s{};
    s.name = "demo|curve";
    s.type = VARKIND_SPLINE2D;
    s.spline.lower = {0, 0, 0, 0};
    s.spline.upper = {3, 1, 0, 0};
    s.spline.count = 4;
    s.spline.points = curve;
    CSpline2DVar spline(s);

    const COLORRGBSPLINE_POINT ramp[] = {{0, 0, 0, 0.5}, {0.3, 0, 0.8, 1}, {0.7, 1, 0.9, 0}, {1, 0.8, 0, 0}};
    GLOBAL_VARIABLE_INFO c{};
    c.name = "demo|ramp";
    c.type = VARKIND_COLORRGBSPLINE;
    c.colorSpline.count = 4;
    c.colorSpline.points = ramp;
    CColorRGBSplineVar colors(c);

    CVarSplineEdit splineDialog(&spline, nullptr);
    CVarColorRGBSplineEdit colorDialog(&colors, nullptr);
    splineDialog.show();
    colorDialog.move(620, 0);
    colorDialog.show();
    return app.exec();
}
