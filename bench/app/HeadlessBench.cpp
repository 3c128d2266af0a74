// What a study's outputs cost without a window.
//
// 1. The rate of Eddyra --headless at 512 x 256 with every output (raw dump,
//    VTK, NumPy, PNG, saved state) written every 1000 steps, next to the
//    same run without outputs and to the bare solver rate measured in the
//    same process, for both solvers; and the outputs' share alone, every
//    output together and on the processor solver each alone, from blocks of
//    10000 steps (5000 on the GPU) with and without them taken in turn on
//    one simulator (the median of the blocks), which the load of a shared
//    machine disturbs far less than separate runs; with the time a set
//    holds the run, and every output again with the processor solver on
//    one thread, so that the writer has a core of its own.
// 2. The size and write time of each format at 1024 x 1024, taken from
//    either solver.
//
// Needs the storage component, registered into a registry of its own; the
// GPU solver and the picture run on the headless drawing context.
//
// Each rate is the best of a few runs taken in turn, so that other work on
// the machine disturbs the comparison as little as it can.
//
// Usage: headless_bench [steps per run, default 5000] [runs, default 3] [cpu|gpu|both, default both]
#include <epoxy/gl.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

#include "app/FieldFiles.h"
#include "app/FlowPicture.h"
#include "app/HeadlessRun.h"
#include "app/Parameters.h"
#include "app/SimulatorFactory.h"
#include "app/StateFiles.h"
#include "app/StudyOutputs.h"
#include "app/VelocityDump.h"
#include "bench/app/ComponentSandbox.h"
#include "platform/com/Com.h"
#include "platform/gl/HeadlessRenderContext.h"
#include "platform/gl/RenderContext.h"
#include "sim/Checkpoint.h"
#include "sim/CpuLbmSimulator.h"
#include "sim/CpuRenderResources.h"

namespace {
constexpr Obstacle kCylinder{1, 100, 118, 20, 20};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Progress lines of the runs would bury the table.
class QuietStandardError {
public:
    QuietStandardError() : saved(::dup(2))
    {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 2);
        ::close(null);
    }
    ~QuietStandardError()
    {
        ::dup2(saved, 2);
        ::close(saved);
    }

private:
    int saved;
};

double BareRate(int32_t solver, int64_t steps)
{
    if (!CreateHeadlessRenderContext())
        return 0;
    double rate = 0;
    {
        auto sim = StartSimulator(solver, 512, 256, 20.0f, 0.1f, 0.0f);
        sim->AddObstacle(kCylinder);
        sim->Step(100);
        glFinish();
        QElapsedTimer clock;
        clock.start();
        for (int64_t done = 0; done < steps; done += 1000)
            sim->Step(1000);
        glFinish();
        rate = static_cast<double>(steps) * 1e9 / static_cast<double>(clock.nsecsElapsed());
    }
    DestroyRenderContext();
    return rate;
}

// The whole headless run, start-up included, as a user would time it.
double HeadlessRate(int32_t solver, int64_t steps, bool outputs)
{
    HeadlessOptions options;
    std::string error;
    ParameterAssignment kind;
    ParseParameterAssignment(solver == 0 ? "init|simulationType=GPU" : "init|simulationType=CPU", kind, &error);
    options.assignments.push_back(kind);
    options.obstacles = "cylinder.txt";
    options.steps = steps;
    if (outputs) {
        options.every = 1000;
        options.dump = "out/d_{step}.dat";
        options.vtk = "out/v_{step}.vti";
        options.npy = "out/a_{step}.npy";
        options.png = "out/p_{step}.png";
        options.saveState = "out/s_{step}.state";
    }
    QElapsedTimer clock;
    clock.start();
    int code;
    {
        QuietStandardError quiet;
        code = RunHeadless(options);
    }
    const qint64 ns = clock.nsecsElapsed();
    QDir("out").removeRecursively();
    QDir().mkdir("out");
    return code == kExitDone ? static_cast<double>(steps) * 1e9 / static_cast<double>(ns) : 0;
}

// The outputs' share of a run: blocks of `steps` steps, with the outputs
// after every 1000 and without, in turn; the median of cost = with /
// without - 1.  A block with outputs waits for its last set, as the end of
// a run does; the longer the block, the closer to a long run's steady cost.
// Also the time the run itself is held per set, inside Write: the part of
// the cost that no spare core can take over.  stepThreads > 0 steps the
// processor solver on that many threads, so that on a small machine a core
// can be left to the writer, as a larger machine leaves one.
void OutputShare(int32_t solver, const char* label, const OutputNames& names, int blocks, int steps,
                 int stepThreads = 0)
{
    if (!CreateHeadlessRenderContext())
        return;
    {
        std::shared_ptr<LbmSimulator> sim;
        if (solver == 1 && stepThreads > 0) {
            sim = std::make_shared<CpuLbmSimulator>(512, 256, std::make_unique<CpuRenderResources>(),
                                                    CpuStepOptions{BestCpuIsa(), stepThreads});
            sim->SetViscosity(1.0f / 20.0f);
            sim->SetBoundaryVelocity(0.1f, 0.0f);
            sim->ResetFlow(0.1f, 0.0f);
        } else {
            sim = StartSimulator(solver, 512, 256, 20.0f, 0.1f, 0.0f);
        }
        sim->AddObstacle(kCylinder);
        sim->Step(200);
        const ReportedMessages messages;
        StudyOutputs outputs(names);
        SimulationState run;
        run.width = 512;
        run.height = 256;
        run.simulationType = solver;
        run.flowVelX = 0.1f;
        run.invViscosity = 20.0f;
        std::vector<double> bare, with, cost;
        double heldNs = 0;
        int sets = 0;
        for (int b = 0; b < blocks; ++b) {
            QElapsedTimer clock;
            clock.start();
            for (int k = 0; k < steps / 1000; ++k)
                sim->Step(1000);
            glFinish();
            bare.push_back(static_cast<double>(clock.nsecsElapsed()));
            clock.start();
            for (int k = 0; k < steps / 1000; ++k) {
                sim->Step(1000);
                run.step += 1000;
                QElapsedTimer held;
                held.start();
                if (const std::string why = outputs.Write(*sim, run, {}, messages); !why.empty())
                    std::printf("%s\n", why.c_str());
                heldNs += static_cast<double>(held.nsecsElapsed());
                ++sets;
            }
            outputs.Finish();
            glFinish();
            with.push_back(static_cast<double>(clock.nsecsElapsed()));
            cost.push_back(with.back() / bare.back() - 1.0);
        }
        char threads[48] = "";
        if (stepThreads > 0)
            std::snprintf(threads, sizeof threads, "; solver on %d thread%s", stepThreads, stepThreads == 1 ? "" : "s");
        std::printf("%-6s %-8s %10.1f %14.1f %11.1f%% %9.2f   (median of %d blocks of %d steps each way%s)\n",
                    solver == 0 ? "GPU" : "CPU", label, steps * 1e9 / Median(bare), steps * 1e9 / Median(with),
                    100.0 * Median(cost), heldNs / 1e6 / std::max(sets, 1), blocks, steps, threads);
    }
    DestroyRenderContext();
    QDir("out").removeRecursively();
    QDir().mkdir("out");
}

// Every output together, then on the processor solver each alone and the
// pair a film of a study needs; last, every output with the solver on one
// thread, the other core free for the writer.
void OutputShares(int32_t solver)
{
    const OutputNames all{"out/d_{step}.dat", "out/v_{step}.vti", "out/a_{step}.npy", "out/p_{step}.png",
                          "out/s_{step}.state", 1, 7};
    if (solver == 0) {
        OutputShare(solver, "all", all, 2, 5000);
        return;
    }
    OutputShare(solver, "all", all, 5, 10000);
    OutputShare(solver, "dump", {all.dump, {}, {}, {}, {}, 1, 7}, 5, 10000);
    OutputShare(solver, "vtk", {{}, all.vtk, {}, {}, {}, 1, 7}, 5, 10000);
    OutputShare(solver, "npy", {{}, {}, all.npy, {}, {}, 1, 7}, 5, 10000);
    OutputShare(solver, "png", {{}, {}, {}, all.png, {}, 1, 7}, 5, 10000);
    OutputShare(solver, "state", {{}, {}, {}, {}, all.saveState, 1, 7}, 5, 10000);
    OutputShare(solver, "vtk+png", {{}, all.vtk, {}, all.png, {}, 1, 7}, 5, 10000);
    OutputShare(solver, "all", all, 5, 10000, 1);
}

// Median of five writes, in milliseconds, and the file's size.
void TimeFormat(const char* name, const std::string& path, const std::function<std::string()>& write)
{
    std::vector<double> ms;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (const std::string why = write(); !why.empty()) {
            std::printf("%-12s failed: %s\n", name, why.c_str());
            return;
        }
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("%-12s %12ju %10.1f\n", name, static_cast<uintmax_t>(std::filesystem::file_size(path)), Median(ms));
}

void FormatFigures(int32_t solver)
{
    const int W = 1024, H = 1024;
    if (!CreateHeadlessRenderContext())
        return;
    {
        auto sim = StartSimulator(solver, W, H, 20.0f, 0.1f, 0.0f);
        sim->AddObstacle({1, 200, 490, 40, 40});
        sim->Step(100);
        SimulationState state;
        state.width = W;
        state.height = H;
        state.simulationType = solver;
        state.flowVelX = 0.1f;
        state.invViscosity = 20.0f;
        std::vector<float> field;
        std::printf("\nFormats at %d x %d, %s solver (write: median of 5, from the simulator's lattice to the file "
                    "replaced in one step)\n",
                    W, H, solver == 0 ? "GPU" : "CPU");
        std::printf("%-12s %12s %10s\n", "format", "bytes", "write ms");
        // Each write takes the lattice from the simulator, as a run's output does.
        auto fieldWriter = [&](FieldFormat format, const std::string& path) {
            return [&, format, path] {
                if (!ComputeVelocityField(*sim, W, H, field))
                    return std::string("fetch failed");
                return WriteFieldFile(format, path, field, W, H);
            };
        };
        TimeFormat("raw dump", "f.dat", fieldWriter(FieldFormat::RawDump, "f.dat"));
        TimeFormat("VTK .vti", "f.vti", fieldWriter(FieldFormat::Vtk, "f.vti"));
        TimeFormat("NumPy .npy", "f.npy", fieldWriter(FieldFormat::Npy, "f.npy"));
        TimeFormat("PNG", "f.png", [&] { return WriteFlowPicture("f.png", *sim, W, H, 1, {}); });
        TimeFormat("state", "f.state", [&] {
            if (!CaptureSimulation(*sim, state))
                return std::string("fetch failed");
            return SaveStateFile("f.state", state);
        });
    }
    DestroyRenderContext();
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int64_t steps = argc > 1 ? std::max<int64_t>(1000, std::atoll(argv[1])) / 1000 * 1000 : 5000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string which = argc > 3 ? argv[3] : "both";
    CoInitialize(nullptr);
    const ComponentSandbox sandbox;
    QDir().mkdir("out");
    QFile cylinder("cylinder.txt");
    cylinder.open(QIODevice::WriteOnly);
    cylinder.write("ellipse 100 118 20 20\n");
    cylinder.close();

    std::printf("Headless runs: grid 512x256, %lld steps, outputs (dump, vtk, npy, png, state) every 1000 steps, "
                "best of %d\n",
                static_cast<long long>(steps), runs);
    std::printf("%-6s %10s %14s %14s %12s %12s\n", "solver", "bare ips", "headless ips", "+outputs ips",
                "outputs cost", "vs bare");
    int code = 0;
    for (int32_t solver : {1, 0}) {
        if (which != "both" && which != (solver == 0 ? "gpu" : "cpu"))
            continue;
        double bare = 0, plain = 0, withOutputs = 0;
        for (int run = 0; run < runs; ++run) {
            bare = std::max(bare, BareRate(solver, steps));
            plain = std::max(plain, HeadlessRate(solver, steps, false));
            withOutputs = std::max(withOutputs, HeadlessRate(solver, steps, true));
        }
        if (bare == 0 || plain == 0 || withOutputs == 0) {
            std::printf("%-6s a run failed\n", solver == 0 ? "GPU" : "CPU");
            code = 1;
            continue;
        }
        std::printf("%-6s %10.1f %14.1f %14.1f %11.1f%% %11.1f%%\n", solver == 0 ? "GPU" : "CPU", bare, plain,
                    withOutputs, 100.0 * (1.0 - withOutputs / plain), 100.0 * (1.0 - withOutputs / bare));
    }
    std::printf("\nOutputs' share, each 1000 steps, 512x256\n%-6s %-8s %10s %14s %12s %9s\n", "solver", "outputs",
                "bare ips", "+outputs ips", "cost", "held ms");
    for (int32_t solver : {1, 0})
        if (which == "both" || which == (solver == 0 ? "gpu" : "cpu"))
            OutputShares(solver);
    if (which != "gpu")
        FormatFigures(1);
    if (which != "cpu")
        FormatFigures(0);
    CoUninitialize();
    return code;
}
