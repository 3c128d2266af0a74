// What the frame loop costs: the iteration rate the title shows at the
// default settings, for both solvers and every view mode, next to the bare
// rate of the same solver on the same grid measured in the same run (steps
// only, no picture, no swap, no event handling).  Needs an X display
// (xvfb-run) and the storage component, registered into a registry of its
// own.
//
// Usage: frame_loop_bench [seconds per measurement, default 4] [view|updateRate, default 10]
//                         [view modes, default 0123]
#include <epoxy/gl.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/FlowReadout.h"
#include "app/FlowWindow.h"
#include "bench/app/ComponentSandbox.h"
#include "app/IdleLoop.h"
#include "app/Parameters.h"
#include "platform/com/Com.h"
#include "platform/gl/RenderContext.h"
#include "sim/ViewModes.h"

namespace {
struct Figures {
    double titleRate = 0;  // median of the titles shown
    int titles = 0;
    double bareRate = 0;
    double stepMs = 0;     // one frame's steps, finished
    double renderMs = 0;   // the picture of the view, finished
    double presentMs = 0;  // PresentFrame
    double readoutMs = 0;  // the status strip's reading, once per title refresh
};

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

Figures Measure(int32_t solver, int32_t mode, int seconds)
{
    params::simulationType.AssignValue(&solver, 4);
    params::viewMode.AssignValue(&mode, 4);
    Figures f;
    FlowWindow window(L"config");
    if (!window.Create())
        return f;
    window.show();
    std::vector<double> rates;
    QObject::connect(&window, &QWidget::windowTitleChanged, [&](const QString& title) {
        // "Eddyra -- {0} ips"
        const QString number = title.section(' ', 2, 2);
        bool ok = false;
        const double r = number.toDouble(&ok);
        if (ok)
            rates.push_back(r);
    });
    {
        // The program's own loop; the first title covers start-up and is
        // left out.
        IdleLoop loop([&window] { return window.OnIdle(); });
        QTimer::singleShot(1000 * (seconds + 1) + 200, [] { QCoreApplication::exit(0); });
        loop.Run();
    }
    if (rates.size() > 1)
        rates.erase(rates.begin());
    f.titles = static_cast<int>(rates.size());
    f.titleRate = Median(rates);

    // The same simulator, the same grid, the same context: steps alone.
    LbmSimulator* sim = window.Simulator();
    const int steps = params::updateRate;
    glFinish();
    QElapsedTimer clock;
    clock.start();
    long iterations = 0;
    while (clock.elapsed() < 1000L * seconds) {
        sim->Step(steps);
        iterations += steps;
        if (solver == 0)
            glFinish();
    }
    glFinish();
    f.bareRate = iterations * 1000.0 / static_cast<double>(clock.elapsed());
    f.stepMs = 1000.0 * steps / f.bareRate;

    // Where a frame's extra time goes: the picture and the swap, each
    // finished before the clock stops.
    const float aspect = static_cast<float>(window.Geometry().gridHeight) / static_cast<float>(window.Geometry().gridWidth);
    const float w = static_cast<float>(window.Geometry().viewWidth);
    const DrawRect rect{0.0f, w, 0.0f, w * aspect};
    const ViewSettings view{ViewModeFromIndex(mode), params::brightness, params::flowVelX};
    QElapsedTimer part;
    long frames = 0;
    qint64 renderNs = 0, presentNs = 0;
    clock.restart();
    while (clock.elapsed() < 1000L * seconds) {
        part.start();
        glClear(GL_COLOR_BUFFER_BIT);
        RenderView(*sim, view, rect);
        glFinish();
        renderNs += part.nsecsElapsed();
        part.start();
        PresentFrame();
        glFinish();
        presentNs += part.nsecsElapsed();
        ++frames;
    }
    f.renderMs = renderNs / 1e6 / static_cast<double>(frames);
    f.presentMs = presentNs / 1e6 / static_cast<double>(frames);

    FlowReadout readout;
    SimulationState run;
    run.width = window.Geometry().gridWidth;
    run.height = window.Geometry().gridHeight;
    part.start();
    constexpr int kReadings = 5;
    for (int n = 0; n < kReadings; ++n)
        readout.Refresh(*sim, run);
    f.readoutMs = part.nsecsElapsed() / 1e6 / kReadings;
    window.close();
    return f;
}
}  // namespace

int main(int argc, char** argv)
{
    CoInitialize(nullptr);
    int code = 0;
    {
        QApplication app(argc, argv);
        // Two windows one after the other: closing the first must not end the run.
        QApplication::setQuitOnLastWindowClosed(false);
        const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 4;
        if (argc > 2) {
            const int32_t rate = std::clamp(atoi(argv[2]), 1, 40);
            params::updateRate.AssignValue(&rate, 4);
        }
        const std::string modes = argc > 3 ? argv[3] : "0123";
        const ComponentSandbox sandbox;

        std::printf("Frame loop: grid %dx%d, view|updateRate %d, window 1024x640\n",
                    params::gridWidth.Value(), params::gridHeight.Value(), params::updateRate.Value());
        std::printf("%-6s %-10s %12s %12s %10s   %s\n", "solver", "view", "title ips", "bare ips", "loop cost",
                    "per frame: steps / picture / swap (ms), strip reading (ms/s)");
        for (int32_t solver : {0, 1}) {
            for (const char m : modes) {
                const int32_t mode = m - '0';
                if (mode < 0 || mode >= kViewModeCount)
                    continue;
                const char* solverName = solver == 0 ? "GPU" : "CPU";
                const char* viewName = params::viewMode.Label(mode);
                const Figures f = Measure(solver, mode, seconds);
                if (f.titles == 0) {
                    std::printf("%-6s %-10s no title shown\n", solverName, viewName);
                    code = 1;
                    continue;
                }
                const double cost = 100.0 * (1.0 - f.titleRate / f.bareRate);
                std::printf("%-6s %-10s %12.1f %12.1f %9.1f%%   %.2f / %.2f / %.2f, %.1f   (%d titles)\n",
                            solverName, viewName, f.titleRate, f.bareRate, cost, f.stepMs, f.renderMs, f.presentMs,
                            f.readoutMs, f.titles);
                std::fflush(stdout);
            }
        }
    }
    CoUninitialize();
    return code;
}
