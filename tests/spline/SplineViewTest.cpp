// The curve editor driven by synthetic mouse input, and its picture.
#include <QImage>
#include <QPalette>
#include <QTest>

#include <cmath>
#include <limits>

#include "SplineTestSupport.h"
#include "editor/spline/CQtDrawer.h"
#include "editor/spline/CSplineView.h"
#include "editor/spline/VarWrapper.h"

namespace {

// A shown 600 by 600 curve editor over a spline variable with a listener.
struct Fixture {
    Fixture(const std::vector<SPLINE2D_POINT>& points, double minX, double maxX, double minY, double maxY)
        : var(MakeSplineVar(points, minX, maxX, minY, maxY)), wrapper(var.get())
    {
        var->Init(GUID_NULL, &listener);
        view = std::make_unique<CSplineView>(&wrapper, nullptr);
        view->resize(600, 600);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }
    QPoint Pixel(double x, double y) const
    {
        view->GetDrawer()->SetWindow(view->GetVisible());
        const cg::point_2 p = view->GetDrawer()->Transform(cg::point_2(x, y));
        return QPoint(int(std::lround(p.x)), int(std::lround(p.y)));
    }
    const std::vector<SPLINE2D_POINT>& Value() const { return var->GetPoints(); }

    RecordingListener listener;
    std::unique_ptr<CSpline2DVar> var;
    VarWrapper wrapper;
    std::unique_ptr<CSplineView> view;
};

bool Near(double a, double b, double tol) { return std::abs(a - b) <= tol; }

// Wide limits: nothing is clamped.
constexpr double kWide = 1000;

}  // namespace

class SplineViewTest : public QObject {
    Q_OBJECT
private slots:
    void openingFramesThePointsAndWritesBackOnce();
    void openingClampsPointsToTheLimits();
    void drawerMapsWorldToPixelsAndBack();
    void gridSteps();
    void wheelZoomsAboutTheCentre();
    void dragBeyondTheLimitStaysAtTheLimit();
    void dragPastANeighbourKeepsTheGrabbedPoint();
    void dragThatMergesTwoPointsDoesNotRunAway();
    void handlesSetTheDirection();
    void panKeepsTheGrabbedPointUnderTheCursor();
    void doubleClickAddsThenRemoves();
    void renderedPicture();
    void repaintWithoutReDrawShowsTheLastPicture();
    void degenerateViewPaintsAtOnce();
};

void SplineViewTest::openingFramesThePointsAndWritesBackOnce()
{
    Fixture f({{0, 0, 1, 1}, {2, 1, 1, 0}}, -kWide, kWide, -kWide, kWide);
    const cg::rectangle_2& v = f.view->GetVisible();
    QCOMPARE(v.left(), -0.5);
    QCOMPARE(v.right(), 2.0);
    QCOMPARE(v.top(), -0.5);
    QCOMPARE(v.bottom(), 1.0);
    QCOMPARE(f.listener.calls, 1);
    QCOMPARE(f.listener.last.size(), size_t(64));
    QCOMPARE(f.Value().size(), size_t(2));
    QCOMPARE(f.Value()[1].dx, 1.0);
}

void SplineViewTest::openingClampsPointsToTheLimits()
{
    Fixture f({{-3, 0.5, 1, 0}, {5, 7, -2, 1}}, 0, 4, 0, 1);
    QCOMPARE(f.Value().size(), size_t(2));
    QCOMPARE(f.Value()[0].x, 0.0);
    QCOMPARE(f.Value()[0].y, 0.5);
    QCOMPARE(f.Value()[1].x, 4.0);
    QCOMPARE(f.Value()[1].y, 1.0);
    // Directions never point backwards in x.
    QCOMPARE(f.Value()[1].dx, 0.0);
    QCOMPARE(f.Value()[1].dy, 1.0);
    QCOMPARE(f.view->GetCurve()[1].x, 4.0);
}

void SplineViewTest::drawerMapsWorldToPixelsAndBack()
{
    QWidget w;
    w.resize(200, 100);
    CQtDrawer d(&w);
    d.SetViewport(cg::rectangle_2(0, 0, 200, 100));
    d.SetWindow(cg::rectangle_2(-1, 0, 3, 10));
    const cg::point_2 p = d.Transform(cg::point_2(0, 2.5));
    QCOMPARE(p.x, 50.0);
    QCOMPARE(p.y, 75.0);  // larger y is higher up
    const cg::point_2 back = d.UnTransform(p);
    QCOMPARE(back.x, 0.0);
    QCOMPARE(back.y, 2.5);
    d.SetWindow(cg::rectangle_2(1, 1, 1, 5));
    const cg::point_2 flat = d.Transform(cg::point_2(1, 3));
    QCOMPARE(flat.x, 0.0);
    QCOMPARE(flat.y, 0.0);
    d.SetViewport(cg::rectangle_2());
    d.SetWindow(cg::rectangle_2(0, 0, 2, 2));
    const cg::point_2 inverse = d.UnTransform(cg::point_2(7, 7));
    QVERIFY(std::isfinite(inverse.x) && std::isfinite(inverse.y));
}

void SplineViewTest::gridSteps()
{
    QCOMPARE(CSplineView::GridStep(10), 1.0);
    QCOMPARE(CSplineView::GridStep(3), 0.1);
    QCOMPARE(CSplineView::GridStep(600), 100.0);
    QCOMPARE(CSplineView::GridStep(0.04), 0.001);
}

void SplineViewTest::wheelZoomsAboutTheCentre()
{
    Fixture f({{0, 0, 1, 1}}, -kWide, kWide, -kWide, kWide);
    f.view->SetVisible(cg::rectangle_2(-1, 0, 1, 2));
    Wheel(f.view.get(), QPoint(10, 10), 120);
    const cg::rectangle_2 in = f.view->GetVisible();
    QVERIFY(Near(in.left(), -0.9, 1e-12) && Near(in.right(), 0.9, 1e-12));
    QVERIFY(Near(in.top(), 0.1, 1e-12) && Near(in.bottom(), 1.9, 1e-12));
    // A large wheel distance still counts as one step.
    Wheel(f.view.get(), QPoint(10, 10), -480);
    const cg::rectangle_2 out = f.view->GetVisible();
    QVERIFY(Near(out.left(), -1, 1e-12) && Near(out.right(), 1, 1e-12));
    QVERIFY(Near(out.top(), 0, 1e-12) && Near(out.bottom(), 2, 1e-12));
}

void SplineViewTest::dragBeyondTheLimitStaysAtTheLimit()
{
    Fixture f({{0, 0, 1, 0}, {1, 1, 1, 0}}, 0, 2, 0, 2);
    f.view->SetVisible(cg::rectangle_2(-1, -1, 5, 5));
    const int before = f.listener.calls;
    Press(f.view.get(), f.Pixel(1, 1));
    QCOMPARE(f.view->GetDragMode(), int(CSplineView::DRAG_POINT));
    Move(f.view.get(), f.Pixel(4, 1.5), Qt::LeftButton);
    QCOMPARE(f.Value().size(), size_t(2));
    QCOMPARE(f.Value()[1].x, 2.0);
    QVERIFY(Near(f.Value()[1].y, 1.5, 0.02));
    QCOMPARE(f.view->GetCurve()[1].x, 2.0);  // the view shows the clamped point
    Move(f.view.get(), f.Pixel(3, 4), Qt::LeftButton);
    QCOMPARE(f.Value()[1].x, 2.0);
    QCOMPARE(f.Value()[1].y, 2.0);
    QCOMPARE(f.listener.calls, before + 2);
    Release(f.view.get(), f.Pixel(3, 4));
    QCOMPARE(f.view->GetDragMode(), int(CSplineView::DRAG_NONE));
    // Without a button the mouse moves nothing.
    Move(f.view.get(), f.Pixel(0.5, 0.5), Qt::NoButton);
    QCOMPARE(f.Value()[1].y, 2.0);
    QCOMPARE(f.listener.calls, before + 2);
}

void SplineViewTest::dragPastANeighbourKeepsTheGrabbedPoint()
{
    Fixture f({{0, 0, 1, 0}, {1, 1, 1, 0}, {2, 0, 1, 0}}, -kWide, kWide, -kWide, kWide);
    f.view->SetVisible(cg::rectangle_2(-1, -1, 4, 2));
    Press(f.view.get(), f.Pixel(0, 0));
    Move(f.view.get(), f.Pixel(1.5, 0.5), Qt::LeftButton);
    Move(f.view.get(), f.Pixel(3, -0.5), Qt::LeftButton);
    Release(f.view.get(), f.Pixel(3, -0.5));
    QCOMPARE(f.Value().size(), size_t(3));
    QVERIFY(Near(f.Value()[0].x, 1, 1e-12) && Near(f.Value()[0].y, 1, 1e-12));
    QVERIFY(Near(f.Value()[1].x, 2, 1e-12) && Near(f.Value()[1].y, 0, 1e-12));
    QVERIFY(Near(f.Value()[2].x, 3, 0.02) && Near(f.Value()[2].y, -0.5, 0.02));
}

void SplineViewTest::dragThatMergesTwoPointsDoesNotRunAway()
{
    Fixture f({{0, 0, 1, 0}, {1, 1, 1, 0}}, 0, 1, 0, 1);
    f.view->SetVisible(cg::rectangle_2(-1, -1, 3, 3));
    Press(f.view.get(), f.Pixel(0, 0));
    // Clamped onto the other point's corner: the two become one.
    Move(f.view.get(), f.Pixel(2.5, 2.5), Qt::LeftButton);
    QCOMPARE(f.view->GetCurve().size(), 1);
    Move(f.view.get(), f.Pixel(0.5, 0.25), Qt::LeftButton);
    Move(f.view.get(), f.Pixel(0.25, 0.5), Qt::LeftButton);
    Release(f.view.get(), f.Pixel(0.25, 0.5));
    QCOMPARE(f.Value().size(), size_t(1));
    QVERIFY(Near(f.Value()[0].x, 0.25, 0.02) && Near(f.Value()[0].y, 0.5, 0.02));
}

void SplineViewTest::handlesSetTheDirection()
{
    Fixture f({{1, 1, 1, 0}, {4, 1, 1, 0}}, -kWide, kWide, -kWide, kWide);
    f.view->SetVisible(cg::rectangle_2(-1, -1, 5, 5));
    // Point 0's handle at point + direction: direction = cursor - point.
    Press(f.view.get(), f.Pixel(2, 1));
    QCOMPARE(f.view->GetDragMode(), int(CSplineView::DRAG_HANDLE));
    QCOMPARE(f.view->GetDragIndex(), 0);
    Move(f.view.get(), f.Pixel(2.5, 2), Qt::LeftButton);
    Release(f.view.get(), f.Pixel(2.5, 2));
    QVERIFY(Near(f.Value()[0].dx, 1.5, 0.02) && Near(f.Value()[0].dy, 1, 0.02));
    QCOMPARE(f.Value()[0].x, 1.0);
    QCOMPARE(f.Value()[0].y, 1.0);
    // Point 1's handle at point - direction: direction = point - cursor.
    Press(f.view.get(), f.Pixel(3, 1));
    QCOMPARE(f.view->GetDragMode(), int(CSplineView::DRAG_HANDLE));
    QCOMPARE(f.view->GetDragIndex(), 1);
    Move(f.view.get(), f.Pixel(3.5, 0), Qt::LeftButton);
    QVERIFY(Near(f.Value()[1].dx, 0.5, 0.02) && Near(f.Value()[1].dy, 1, 0.02));
    // Behind the point the direction would point backwards: x is zeroed.
    Move(f.view.get(), f.Pixel(4.5, 0), Qt::LeftButton);
    QCOMPARE(f.Value()[1].dx, 0.0);
    QVERIFY(Near(f.Value()[1].dy, 1, 0.02));
    Release(f.view.get(), f.Pixel(4.5, 0));
}

void SplineViewTest::panKeepsTheGrabbedPointUnderTheCursor()
{
    Fixture f({{0, 0, 0.1, 0.1}}, -kWide, kWide, -kWide, kWide);
    f.view->SetVisible(cg::rectangle_2(0, 0, 4, 4));
    const QPoint from = f.Pixel(3, 3);
    const QPoint to = f.Pixel(2, 2);
    Press(f.view.get(), from);
    QCOMPARE(f.view->GetDragMode(), int(CSplineView::DRAG_PAN));
    Move(f.view.get(), to, Qt::LeftButton);
    const cg::rectangle_2 v = f.view->GetVisible();
    QVERIFY(Near(v.left(), 1, 1e-9) && Near(v.right(), 5, 1e-9));
    QVERIFY(Near(v.top(), 1, 1e-9) && Near(v.bottom(), 5, 1e-9));
    Release(f.view.get(), to);
    QCOMPARE(f.view->GetDragMode(), int(CSplineView::DRAG_NONE));
    QCOMPARE(f.Value().size(), size_t(1));
}

void SplineViewTest::doubleClickAddsThenRemoves()
{
    Fixture f({{0, 0, 1, 0}}, -kWide, kWide, -kWide, kWide);
    f.view->SetVisible(cg::rectangle_2(-1, -1, 5, 5));
    const QPoint at = f.Pixel(2, 3);
    DoubleClick(f.view.get(), at);
    QCOMPARE(f.Value().size(), size_t(2));
    QVERIFY(Near(f.Value()[1].x, 2, 0.02) && Near(f.Value()[1].y, 3, 0.02));
    QCOMPARE(f.Value()[1].dx, 1.0);
    QCOMPARE(f.Value()[1].dy, 1.0);
    QCOMPARE(f.Value()[0].x, 0.0);
    DoubleClick(f.view.get(), at);
    QCOMPARE(f.Value().size(), size_t(1));
    QCOMPARE(f.Value()[0].x, 0.0);
}

void SplineViewTest::renderedPicture()
{
    Fixture f({{0, 0, 0.5, 0.5}, {2, 1, 0.5, 0.5}}, -kWide, kWide, -kWide, kWide);
    f.view->SetVisible(cg::rectangle_2(-1, -1, 3, 2));
    const QImage img = f.view->grab().toImage();
    QCOMPARE(img.size(), QSize(600, 600));
    const QPalette pal = f.view->palette();
    auto at = [&](QPoint p) { return QColor(img.pixel(p)); };
    // Background between grid lines, far from labels and curve.
    QCOMPARE(at(f.Pixel(2.85, 1.85) + QPoint(0, 0)).rgb(), pal.color(QPalette::Button).rgb());
    // A vertical grid line at x = 2.5 (step 0.1 for a width of 4).
    const QPoint grid = f.Pixel(2.5, 1.85);
    bool gridSeen = false;
    for (int dx = -1; dx <= 1; ++dx)
        gridSeen |= at(grid + QPoint(dx, 0)).rgb() == pal.color(QPalette::Disabled, QPalette::WindowText).rgb();
    QVERIFY(gridSeen);
    // Control point dot: filled with the button-text colour, black rim.
    const QPoint p1 = f.Pixel(2, 1);
    QCOMPARE(at(p1 + QPoint(3, 3)).rgb(), pal.color(QPalette::ButtonText).rgb());
    QCOMPARE(at(p1 + QPoint(0, 5)).rgb(), QColor(Qt::black).rgb());
    QVERIFY(at(p1 + QPoint(0, 7)).rgb() != QColor(Qt::black).rgb());
    // Handles: red dot at point - direction, green at point + direction.
    QCOMPARE(at(f.Pixel(1.5, 0.5) + QPoint(3, 3)).rgb(), QColor(200, 0, 0).rgb());
    QCOMPARE(at(f.Pixel(2.5, 1.5) + QPoint(3, 3)).rgb(), QColor(0, 200, 0).rgb());
    // The curve, blue, passes through (1, f(1)).
    const QPoint c = f.Pixel(1, f.view->GetCurve()(1.0));
    bool curveSeen = false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) curveSeen |= at(c + QPoint(dx, dy)).rgb() == QColor(0, 0, 255).rgb();
    QVERIFY(curveSeen);
    // Nothing blue right of the last control point's dot.
    const QPoint beyond = f.Pixel(2.6, f.view->GetCurve()(2.0));
    QVERIFY(at(beyond).rgb() != QColor(0, 0, 255).rgb());
}

void SplineViewTest::repaintWithoutReDrawShowsTheLastPicture()
{
    Fixture f({{0, 0, 1, 0}, {1, 1, 1, 0}}, -kWide, kWide, -kWide, kWide);
    f.view->SetVisible(cg::rectangle_2(-1, -1, 2, 2));
    const QImage first = f.view->grab().toImage();
    QVERIFY(!f.view->GetDrawer()->Updated());
    // A change the view has not drawn yet stays invisible until ReDraw.
    const std::vector<SPLINE2D_POINT> moved{{0, 0, 1, 0}, {1, -0.5, 1, 0}};
    f.wrapper.SetValue(moved);
    f.view->Load(false);
    QCOMPARE(f.view->grab().toImage(), first);
    f.view->GetDrawer()->ReDraw();
    QVERIFY(f.view->grab().toImage() != first);
}

// Each of these would loop for hours (or forever) if the grid or the curve
// visited every step between the origin and the view; the test's timeout
// catches that.
void SplineViewTest::degenerateViewPaintsAtOnce()
{
    Fixture f({{-1e7, 0, 1, 0}, {1e7, 1, 1, 0}}, -1e8, 1e8, -kWide, kWide);
    f.view->SetVisible(cg::rectangle_2(-1, 5, 1, 5));  // no height
    QCOMPARE(f.view->grab().toImage().size(), QSize(600, 600));
    // Panned far from the origin: only the visible grid lines are drawn.
    f.view->SetVisible(cg::rectangle_2(1e9, 1e9, 1e9 + 1, 1e9 + 1));
    f.view->grab();
    f.view->SetVisible(cg::rectangle_2(0, 0, std::numeric_limits<double>::infinity(), 1));
    f.view->grab();
    // Zoomed out over the whole curve: it is still drawn, in bounded time.
    f.view->SetVisible(cg::rectangle_2(-2e7, -1, 2e7, 2));
    const QImage img = f.view->grab().toImage();
    int blue = 0;
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y) blue += img.pixel(x, y) == qRgb(0, 0, 255);
    QVERIFY(blue > 200);
}

QTEST_MAIN(SplineViewTest)
#include "SplineViewTest.moc"
