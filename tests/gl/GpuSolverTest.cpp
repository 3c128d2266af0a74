#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

#include "sim/CpuLbmSimulator.h"
#include "sim/GpuLbmSimulator.h"
#include "sim/ObstacleMask.h"
#include "tests/gl/HeadlessGl.h"
#include "tests/sim/ChannelFlow.h"
#include "tests/sim/ContinuationCheck.h"

namespace {

template <typename Sim>
std::vector<LatticeCell> Fetch(Sim& sim, int W, int H)
{
    std::vector<LatticeCell> cells(static_cast<size_t>(W) * static_cast<size_t>(H));
    EXPECT_TRUE(sim.FetchGridState(&cells[0].f[0], static_cast<int>(cells.size() * sizeof(LatticeCell))));
    return cells;
}

// The order in which the shell starts every simulator.
void Start(LbmSimulator& sim, float invViscosity, float ux, float uy)
{
    sim.SetViscosity(1.0f / invViscosity);
    sim.SetBoundaryVelocity(ux, uy);
    sim.ResetFlow(ux, uy);
}

bool SameBits(const LatticeCell& a, const LatticeCell& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

using GpuSolver = HeadlessGl;

}  // namespace

namespace {

// Runs both solvers side by side through obstacles of every kind and
// returns the largest difference of any value; cpu ends as the processor's
// lattice after kSteps.
constexpr int kSteps = 400;
float LargestCpuGpuDifference(CpuLbmSimulator& cpu, CollisionModel model, float invViscosity)
{
    const int W = cpu.Width(), H = cpu.Height();
    GpuLbmSimulator gpu(W, H);
    EXPECT_TRUE(gpu.Usable());

    const std::vector<Obstacle> obstacles = {
        {1, 20, 24, 12, 16},   // ellipse in the stream
        {0, 26, 30, 10, 3},    // rectangle overlapping it
        {1, 50, 10, 7, 5},     // small odd-sized ellipse
        {0, -4, 40, 10, 6},    // rectangle straddling the left frame
        {1, 80, 55, 20, 14},   // ellipse straddling the top-right corner
        {1, 60, 40, 1, 1},     // one-cell ellipse
        {0, 70, 20, 1, 30},    // thin plate
        {0, 200, 200, 5, 5},   // entirely outside
        {0, 40, 30, -6, 8},    // negative width: covers nothing
        {1, 45, 20, 6, -4},    // negative height: covers nothing
        {0, -1000000000, 8, 1000000012, 3},         // reaching far outside the grid
        {1, 30, -1000000000, 9, 1000000004},        // an ellipse whose centre is far below
    };
    for (const Obstacle& o : obstacles) {
        cpu.AddObstacle(o);
        gpu.AddObstacle(o);
    }
    Start(cpu, invViscosity, 0.1f, 0.02f);
    Start(gpu, invViscosity, 0.1f, 0.02f);
    cpu.SetCollisionModel(model);
    gpu.SetCollisionModel(model);

    const LatticeCell start = ComputeEquilibrium(1.0f, 0.1f, 0.02f);
    float largest = 0.0f, developed = 0.0f;
    int differingCells = 0;
    for (int done = 0; done < kSteps; done += 100) {
        cpu.Step(100);
        gpu.Step(100);
        const auto c = Fetch(cpu, W, H);
        const auto g = Fetch(gpu, W, H);
        differingCells = 0;
        for (size_t n = 0; n < c.size(); ++n) {
            if (!SameBits(c[n], g[n]))
                ++differingCells;
            for (int i = 0; i < 9; ++i) {
                largest = std::max(largest, std::fabs(c[n].f[i] - g[n].f[i]));
                developed = std::max(developed, std::fabs(c[n].f[i] - start.f[i]));
            }
        }
    }
    std::printf("largest difference after %d steps: %g in %d cells\n", kSteps, largest, differingCells);
    // The obstacles must have shaped the flow, or the comparison proves nothing.
    EXPECT_GT(developed, 1e-3f);
    return largest;
}

// Both solvers perform the same float operations in the same order; with
// IEEE division and square root and no contraction the lattices agree bit
// for bit (so it is on llvmpipe).  A renderer that divides through a
// reciprocal or fuses multiply-adds rounds differently: each rounding of a
// value below 1 off by at most a couple of units in the last place (2^-23),
// and a relaxation with 0 < omega < 2 does not amplify them, so after N
// steps the difference stays below N * roundings * 2 * 2^-24.
float Tolerance(float roundingsPerUpdate)
{
    return static_cast<float>(kSteps) * roundingsPerUpdate * 2.0f * FLT_EPSILON / 2.0f;
}

}  // namespace

TEST_F(GpuSolver, MatchesTheCpuSolverCellByCell)
{
    CpuLbmSimulator cpu(96, 64);
    // About 25 roundings per cell update.
    EXPECT_LE(LargestCpuGpuDifference(cpu, CollisionModel::Bgk, 40.0f), Tolerance(25.0f));
    EXPECT_TRUE(messages.reports.empty()) << messages.reports[0].caption << "\n" << messages.reports[0].text;
}

TEST_F(GpuSolver, SmagorinskyMatchesTheCpuSolverCellByCell)
{
    // Near the highest rate, where the eddy viscosity shapes the flow.  The
    // rate of a cell is one more division of a root of sums of the same
    // values: about 60 roundings per update, and the rate stays below 2.
    CpuLbmSimulator cpu(96, 64);
    EXPECT_LE(LargestCpuGpuDifference(cpu, CollisionModel::Smagorinsky, 1000.0f), Tolerance(60.0f));
    EXPECT_TRUE(messages.reports.empty()) << messages.reports[0].caption << "\n" << messages.reports[0].text;
    // A second program that fell back to the first would stay within the
    // tolerance only if the models hardly differed here.
    CpuLbmSimulator bgk(96, 64);
    bgk.AddObstacles({cpu.Obstacles().begin(), cpu.Obstacles().end()});
    Start(bgk, 1000.0f, 0.1f, 0.02f);
    bgk.Step(kSteps);
    const auto a = Fetch(cpu, 96, 64), b = Fetch(bgk, 96, 64);
    float modelDifference = 0.0f;
    for (size_t n = 0; n < a.size(); ++n)
        for (int i = 0; i < 9; ++i)
            modelDifference = std::max(modelDifference, std::fabs(a[n].f[i] - b[n].f[i]));
    EXPECT_GT(modelDifference, 10.0f * Tolerance(60.0f));
}

TEST_F(GpuSolver, SmagorinskyPositivityGuardMatchesTheCpuSolver)
{
    // Every cell fast and far from equilibrium at the highest rate: each
    // relaxation needs the guard that keeps its values non-negative.
    const int W = 16, H = 12;
    const LatticeCell rough = {{0.168f, 0.532f, 0.074f, 0.033f, 0.038f, 0.143f, 0.0035f, 0.0166f, 0.066f}};
    const std::vector<LatticeCell> cells(static_cast<size_t>(W * H), rough);
    CpuLbmSimulator cpu(W, H);
    GpuLbmSimulator gpu(W, H);
    for (LbmSimulator* sim : {static_cast<LbmSimulator*>(&cpu), static_cast<LbmSimulator*>(&gpu)}) {
        Start(*sim, 5000.0f, 0.2f, 0.0f);
        sim->SetCollisionModel(CollisionModel::Smagorinsky);
        ASSERT_TRUE(sim->LoadGridState(&cells[0].f[0], static_cast<int>(cells.size() * sizeof(LatticeCell))));
        sim->Step(1);
    }
    const auto c = Fetch(cpu, W, H), g = Fetch(gpu, W, H);
    const LatticeCell& middle = c[static_cast<size_t>(H / 2 * W + W / 2)];
    EXPECT_NEAR(*std::min_element(std::begin(middle.f), std::end(middle.f)), 0.0f, 1e-7f) << "the guard acted";
    for (size_t n = 0; n < c.size(); ++n)
        for (int i = 0; i < 9; ++i)
            ASSERT_NEAR(c[n].f[i], g[n].f[i], 60.0f * FLT_EPSILON) << "cell " << n << " direction " << i;
}

TEST_F(GpuSolver, BothSolversTellABlownUpLattice)
{
    const int W = 20, H = 12;
    CpuLbmSimulator cpu(W, H);
    GpuLbmSimulator gpu(W, H);
    const float bound = d2q9::kBlownUpMagnitude;
    for (LbmSimulator* sim : {static_cast<LbmSimulator*>(&cpu), static_cast<LbmSimulator*>(&gpu)}) {
        Start(*sim, 20.0f, 0.1f, 0.0f);
        sim->Step(3);
        EXPECT_FALSE(sim->BlownUp());
        // One value anywhere, in any texture and channel, frame included:
        // not finite, or finite and just past the bound of any flow.
        for (const auto& [cell, direction] : {std::pair{0, 0}, std::pair{W * H - 1, 8}, std::pair{W * 5 + 7, 6}})
            for (const float bad : {std::numeric_limits<float>::infinity(), std::nanf(""), -std::nextafter(bound, 1e9f),
                                    bound, -bound}) {
                std::vector<LatticeCell> cells(static_cast<size_t>(W * H), ComputeEquilibrium(1.0f, 0.1f, 0.0f));
                cells[static_cast<size_t>(cell)].f[direction] = bad;
                ASSERT_TRUE(sim->LoadGridState(&cells[0].f[0], W * H * 36));
                EXPECT_EQ(sim->BlownUp(), std::fabs(bad) != bound) << "cell " << cell << " direction " << direction
                                                                   << " value " << bad;
            }
    }
    EXPECT_TRUE(messages.reports.empty());
}

TEST_F(GpuSolver, FetchDeliversTheNineValuesInDirectionOrder)
{
    const int W = 17, H = 9;
    GpuLbmSimulator gpu(W, H);
    // Nine distinct values: any mix-up of textures or channels shows.
    const LatticeCell eq = ComputeEquilibrium(1.0f, 0.1f, 0.05f);
    for (int i = 0; i < 9; ++i)
        for (int j = i + 1; j < 9; ++j)
            ASSERT_NE(eq.f[i], eq.f[j]);
    Start(gpu, 20.0f, 0.1f, 0.05f);
    for (const LatticeCell& cell : Fetch(gpu, W, H))
        ASSERT_TRUE(SameBits(cell, eq));

    // A wrong size is refused before anything is written.
    std::vector<float> buffer(static_cast<size_t>(W * H * 9), -3.0f);
    EXPECT_FALSE(gpu.FetchGridState(buffer.data(), W * H * 36 - 1));
    EXPECT_FALSE(gpu.FetchGridState(buffer.data(), W * H * 36 + 36));
    EXPECT_FALSE(gpu.FetchGridState(nullptr, W * H * 36));
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](float v) { return v == -3.0f; }));
}

TEST_F(GpuSolver, WallPassesBounceExactlyTheCellsTheObstacleMaskCovers)
{
    const int W = 28, H = 18;
    GpuLbmSimulator gpu(W, H);
    const std::vector<Obstacle> obstacles = {
        {1, 3, 3, 1, 1},    // one cell
        {1, 8, 2, 4, 4},    // twelve cells: the corners stay fluid
        {1, 14, 3, 4, 2},   // all eight cells
        {0, 3, 10, 3, 2},   // rectangle
        {1, 18, 8, 7, 5},   // odd sizes
        {1, -2, 9, 5, 6},   // straddling the left frame
    };
    for (const Obstacle& o : obstacles)
        gpu.AddObstacle(o);
    // In a uniform flow one step leaves fluid cells at the equilibrium and
    // covered cells at the equilibrium with opposite directions exchanged.
    Start(gpu, 20.0f, 0.1f, 0.05f);
    gpu.Step(1);
    const LatticeCell eq = ComputeEquilibrium(1.0f, 0.1f, 0.05f);
    LatticeCell bounced;
    for (int i = 0; i < 9; ++i)
        bounced.f[i] = eq.f[d2q9::kOpposite[i]];
    const auto cells = Fetch(gpu, W, H);
    int covered = 0;
    for (int y = 1; y < H - 1; ++y) {
        for (int x = 1; x < W - 1; ++x) {
            bool inside = false;
            for (const Obstacle& o : obstacles)
                inside = inside || ObstacleCoversCell(o, x, y);
            const LatticeCell& cell = cells[static_cast<size_t>(y * W + x)];
            if (inside) {
                ++covered;
                ASSERT_TRUE(SameBits(cell, bounced)) << "covered cell " << x << "," << y;
            } else {
                for (int i = 0; i < 9; ++i)
                    ASSERT_NEAR(cell.f[i], eq.f[i], 1e-6f) << "fluid cell " << x << "," << y << " f" << i;
            }
        }
    }
    EXPECT_GT(covered, 0);
    // The examples of the coverage rule, counted on what the GPU bounced.
    auto bouncedIn = [&](const Obstacle& o) {
        int n = 0;
        for (int y = o.y; y < o.y + o.height; ++y)
            for (int x = o.x; x < o.x + o.width; ++x)
                n += SameBits(cells[static_cast<size_t>(y * W + x)], bounced) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(bouncedIn(obstacles[0]), 1);
    EXPECT_EQ(bouncedIn(obstacles[1]), 12);
    EXPECT_EQ(bouncedIn(obstacles[2]), 8);
}

TEST_F(GpuSolver, StepZeroChangesNothingAndStepsKeepTheCallersState)
{
    const int W = 32, H = 20;
    GpuLbmSimulator gpu(W, H);
    gpu.AddObstacle({0, 10, 8, 4, 4});
    Start(gpu, 30.0f, 0.08f, 0.0f);
    gpu.Step(7);
    const auto before = Fetch(gpu, W, H);

    GLuint callerFramebuffer = 0;
    glGenFramebuffers(1, &callerFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, callerFramebuffer);
    glViewport(3, 4, 50, 60);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 7, 0, 9, -1, 1);
    gpu.Step(0);
    const auto after = Fetch(gpu, W, H);
    for (size_t n = 0; n < before.size(); ++n)
        ASSERT_TRUE(SameBits(before[n], after[n])) << "cell " << n;

    gpu.Step(2);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 3);
    EXPECT_EQ(viewport[3], 60);
    GLint bound = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), callerFramebuffer);
    GLdouble projection[16] = {};
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(static_cast<float>(projection[0]), 2.0f / 7.0f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &callerFramebuffer);
}

TEST_F(GpuSolver, FrameShowsTheBoundaryCellFromTheNextStepWhateverCoversIt)
{
    const int W = 24, H = 16;
    GpuLbmSimulator gpu(W, H);
    gpu.AddObstacle({0, -3, -3, 8, 30});   // covers the whole left column and more
    gpu.AddObstacle({1, 18, 10, 12, 12});  // ellipse over the top-right corner
    gpu.SetViscosity(1.0f / 20.0f);
    gpu.SetBoundaryVelocity(0.1f, 0.0f);
    gpu.ResetFlow(0.0f, 0.0f);  // the frame holds the rest state until the next step
    const LatticeCell rest = ComputeEquilibrium(1.0f, 0.0f, 0.0f);
    EXPECT_TRUE(SameBits(Fetch(gpu, W, H)[0], rest));
    gpu.Step(1);
    const auto cells = Fetch(gpu, W, H);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            if (x == 0 || y == 0 || x == W - 1 || y == H - 1) {
                ASSERT_TRUE(SameBits(cells[static_cast<size_t>(y * W + x)], gpu.BoundaryCell())) << x << "," << y;
            }
        }
    }
}

// The physics through the fragment programs: the CPU solver's shear-wave
// case (FlowPhysics), with the viscosity the parameters set.
TEST_F(GpuSolver, ShearWaveDecaysAtTheRateTheViscositySets)
{
    const Channel channel{512, 24};
    const float invViscosity = 10.0f;
    GpuLbmSimulator gpu(channel.W, channel.H);
    ASSERT_TRUE(gpu.Usable());
    StartChannel(gpu, channel, invViscosity, 0.02f);
    const double k = std::numbers::pi / channel.Width();
    EXPECT_NEAR(ShearDecayRate(gpu, channel, 100, 300) / (k * k / invViscosity), 1.0, 0.01);
    EXPECT_TRUE(messages.reports.empty());
}

TEST_F(GpuSolver, LosingTheContextTurnsTheSolverIntoANoOp)
{
    auto gpu = std::make_unique<GpuLbmSimulator>(16, 16);
    Start(*gpu, 20.0f, 0.1f, 0.0f);
    DestroyRenderContext();
    EXPECT_FALSE(gpu->Usable());
    gpu->Step(3);
    gpu->ResetFlow(0.0f, 0.0f);
    gpu->RenderVelocity(1.0f, {0, 16, 0, 16});
    std::vector<float> buffer(16 * 16 * 9);
    EXPECT_FALSE(gpu->FetchGridState(buffer.data(), 16 * 16 * 36));
    gpu.reset();  // its GL names died with the context; nothing is deleted twice
    EXPECT_TRUE(messages.reports.empty());
}

TEST_F(GpuSolver, SavedAndLoadedRunContinuesBitForBit)
{
    ExpectSaveAndLoadContinuesBitForBit([] { return std::make_unique<GpuLbmSimulator>(64, 48); }, 64, 48);
    EXPECT_TRUE(messages.reports.empty());
}

TEST(GpuSolverWithoutContext, ReportsOnceAndDoesNothing)
{
    MessageCollector messages;
    ASSERT_EQ(CurrentRenderContext(), nullptr);
    GpuLbmSimulator gpu(32, 16);
    ASSERT_EQ(messages.reports.size(), 1u);
    EXPECT_EQ(messages.reports[0].caption, "GPU solver");
    EXPECT_FALSE(gpu.Usable());
    Start(gpu, 20.0f, 0.1f, 0.0f);
    gpu.Step(5);
    gpu.RenderVelocity(1.0f, {0, 32, 0, 16});
    gpu.RenderDensity(1.0f, 1.0f, {0, 32, 0, 16});
    gpu.AddObstacle({0, 1, 1, 2, 2});
    std::vector<float> buffer(32 * 16 * 9);
    EXPECT_FALSE(gpu.FetchGridState(buffer.data(), 32 * 16 * 36));
    EXPECT_EQ(messages.reports.size(), 1u);
}
