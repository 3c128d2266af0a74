// Redrawing the curve editor: a full redraw (grid, 50 points with their
// handles, the sampled curve, copy to the window), a repaint that only
// copies the picture, and one mouse move that drags a point.  Runs on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include <QApplication>
#include <QMouseEvent>

#include "editor/spline/CDrawer.h"
#include "editor/spline/CSplineView.h"

namespace {

class BenchVar : public CSplineView::IVar {
public:
    explicit BenchVar(std::vector<SPLINE2D_POINT> p) : points(std::move(p)) {}
    const std::vector<SPLINE2D_POINT>& GetValue() override { return points; }
    void SetValue(const std::vector<SPLINE2D_POINT>& p) override { points = p; }
    double GetMinX() override { return -1e6; }
    double GetMaxX() override { return 1e6; }
    double GetMinY() override { return -1e6; }
    double GetMaxY() override { return 1e6; }
    std::vector<SPLINE2D_POINT> points;
};

// 50 points one unit apart along a wave: about 2000 curve samples.
std::vector<SPLINE2D_POINT> Wave()
{
    std::vector<SPLINE2D_POINT> p;
    for (int i = 0; i < 50; ++i) p.push_back({double(i), 10 * std::sin(i * 0.4), 0.5, 0.5 * 4 * std::cos(i * 0.4)});
    return p;
}

struct Editor {
    Editor() : var(Wave()), view(&var, nullptr)
    {
        view.resize(600, 600);
        view.show();
        QApplication::processEvents();
    }
    BenchVar var;
    CSplineView view;
};

void BM_FullRedraw(benchmark::State& state)
{
    Editor e;
    for (auto _ : state) {
        e.view.GetDrawer()->ReDraw();
        e.view.repaint();
    }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMillisecond);

void BM_RepaintCopyOnly(benchmark::State& state)
{
    Editor e;
    e.view.repaint();
    for (auto _ : state) e.view.repaint();
}
BENCHMARK(BM_RepaintCopyOnly)->Unit(benchmark::kMillisecond);

// Drag point 25 up and down: set the point, write back, reload, redraw.
void BM_DragPointFrame(benchmark::State& state)
{
    Editor e;
    CDrawer* d = e.view.GetDrawer();
    d->SetWindow(e.view.GetVisible());
    const cg::point_2 start = d->Transform(e.view.GetCurve()[25]);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(start.x, start.y), QPointF(start.x, start.y), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&e.view, &press);
    int step = 0;
    for (auto _ : state) {
        const QPointF at(start.x, start.y + ((step++ & 1) ? 20 : -20));
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&e.view, &move);
        e.view.repaint();
    }
}
BENCHMARK(BM_DragPointFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
