// Lattice updates per second of both solvers with either collision model,
// the cost of one picture in each view and of the window's once-a-second
// blow-up check, on whatever the headless EGL context runs on (llvmpipe
// without a GPU).
// Each GPU measurement ends with glFinish so that queued work is counted.
#include <epoxy/gl.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <type_traits>

#include "bench/gl/GlBenchSupport.h"
#include "sim/CpuLbmSimulator.h"
#include "sim/CpuRenderResources.h"
#include "sim/GpuLbmSimulator.h"
#include "sim/ViewModes.h"

namespace {

constexpr int kStepsPerFrame = 10;  // the frame loop's default

template <typename Sim>
std::unique_ptr<Sim> MakeFlow(int W, int H, CollisionModel model = CollisionModel::Bgk)
{
    std::unique_ptr<Sim> sim;
    if constexpr (std::is_same_v<Sim, CpuLbmSimulator>)
        sim = std::make_unique<Sim>(W, H, std::make_unique<CpuRenderResources>());
    else
        sim = std::make_unique<Sim>(W, H);
    sim->AddObstacle({1, W / 5, H / 2 - H / 10, H / 5, H / 5});
    sim->SetViscosity(1.0f / 20.0f);
    sim->SetBoundaryVelocity(0.1f, 0.0f);
    sim->ResetFlow(0.1f, 0.0f);
    sim->SetCollisionModel(model);
    return sim;
}

template <typename Sim, CollisionModel Model = CollisionModel::Bgk>
void Steps(benchmark::State& state)
{
    const int W = static_cast<int>(state.range(0)), H = static_cast<int>(state.range(1));
    auto sim = MakeFlow<Sim>(W, H, Model);
    sim->Step(2);
    glFinish();
    for (auto _ : state) {
        sim->Step(kStepsPerFrame);
        glFinish();
    }
    const double updates = double(W) * H * kStepsPerFrame * double(state.iterations());
    state.counters["MLUPS"] = benchmark::Counter(updates / 1e6, benchmark::Counter::kIsRate);
}

template <typename Sim>
void Picture(benchmark::State& state)
{
    const int W = static_cast<int>(state.range(0)), H = static_cast<int>(state.range(1));
    auto sim = MakeFlow<Sim>(W, H);
    sim->Step(kStepsPerFrame);
    OffscreenTarget target(W, H);
    for (auto _ : state) {
        target.BeginFrame();
        sim->RenderVelocity(1.0f, {0.0f, float(W), 0.0f, float(H)});
        glFinish();
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

template <typename Sim>
void BlowUpCheck(benchmark::State& state)
{
    const int W = static_cast<int>(state.range(0)), H = static_cast<int>(state.range(1));
    auto sim = MakeFlow<Sim>(W, H);
    sim->Step(kStepsPerFrame);
    glFinish();
    for (auto _ : state)
        benchmark::DoNotOptimize(sim->BlownUp());
}

// The picture of view mode range(2), through the frame loop's dispatch.
template <typename Sim>
void View(benchmark::State& state)
{
    const int W = static_cast<int>(state.range(0)), H = static_cast<int>(state.range(1));
    const ViewSettings view{ViewModeFromIndex(static_cast<int32_t>(state.range(2))), 1.0f, 0.1f};
    auto sim = MakeFlow<Sim>(W, H);
    sim->Step(kStepsPerFrame);
    OffscreenTarget target(W, H);
    for (auto _ : state) {
        target.BeginFrame();
        RenderView(*sim, view, {0.0f, float(W), 0.0f, float(H)});
        glFinish();
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Args({512, 256})->Args({1024, 1024})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(Steps<GpuLbmSimulator>)->Name("GpuStep10")->Apply(Sizes);
BENCHMARK(Steps<CpuLbmSimulator>)->Name("CpuStep10")->Apply(Sizes);
BENCHMARK(Steps<GpuLbmSimulator, CollisionModel::Smagorinsky>)->Name("GpuStep10Smagorinsky")->Apply(Sizes);
BENCHMARK(Steps<CpuLbmSimulator, CollisionModel::Smagorinsky>)->Name("CpuStep10Smagorinsky")->Apply(Sizes);
BENCHMARK(BlowUpCheck<GpuLbmSimulator>)->Name("GpuBlowUpCheck")->Apply(Sizes);
BENCHMARK(BlowUpCheck<CpuLbmSimulator>)->Name("CpuBlowUpCheck")->Apply(Sizes);
BENCHMARK(Picture<GpuLbmSimulator>)->Name("GpuRenderVelocity")->Apply(Sizes);
BENCHMARK(Picture<CpuLbmSimulator>)->Name("CpuRenderVelocity")->Apply(Sizes);

void Views(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"W", "H", "mode"})->Unit(benchmark::kMillisecond)->UseRealTime();
    for (int mode = 0; mode < kViewModeCount; ++mode)
        b->Args({512, 256, mode});
}

BENCHMARK(View<GpuLbmSimulator>)->Name("GpuRenderView")->Apply(Views);
BENCHMARK(View<CpuLbmSimulator>)->Name("CpuRenderView")->Apply(Views);

}  // namespace

int main(int argc, char** argv)
{
    if (!StartHeadless())
        return 1;
    std::printf("%s | %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DestroyRenderContext();
    return 0;
}
