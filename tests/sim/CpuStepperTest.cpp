#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/CpuLbmSimulator.h"
#include "sim/CpuStep.h"
#include "sim/CpuStepLattice.h"
#include "sim/CpuStepStoreTrial.h"
#include "sim/CpuStepper.h"
#include "sim/ObstacleMask.h"
#include "sim/VelocityStaging.h"

namespace {

std::vector<CpuIsa> SupportedIsas()
{
    std::vector<CpuIsa> isas;
    for (CpuIsa isa : {CpuIsa::Scalar, CpuIsa::Avx2, CpuIsa::Avx512})
        if (CpuIsaSupported(isa))
            isas.push_back(isa);
    return isas;
}

// Copies of the same pair of lattices, one advanced by the plain loop, one by
// a CpuStepper in cell order and one by the same stepper as planes (the
// solver's own layout), compared bit for bit after every step.
struct Twin {
    int W, H;
    std::vector<LatticeCell> ref[2], opt[2];
    std::unique_ptr<CpuStepLattice> planes[2];
    std::vector<int32_t> mask;

    Twin(int w, int h) : W(w), H(h), mask(static_cast<size_t>(w * h), 0)
    {
        for (auto* pair : {ref, opt})
            for (int k = 0; k < 2; ++k)
                pair[k].assign(static_cast<size_t>(w * h), LatticeCell{});
    }
    LatticeCell& At(int k, int x, int y) { return ref[k][static_cast<size_t>(y * W + x)]; }
    void Mirror()
    {
        opt[0] = ref[0];
        opt[1] = ref[1];
        for (int k = 0; k < 2; ++k) {
            planes[k] = std::make_unique<CpuStepLattice>(W, H, 32 * k);
            planes[k]->CopyFrom(ref[k].data());
        }
    }

    // Runs `steps` steps; returns "" or where the copies first differ.  With
    // anyNaN, two NaNs count as equal whatever their sign and payload: the
    // plain loop's own NaN signs depend on how the compiler folds its
    // multiplications by -1 (they differ between -O2 and -O3 builds).
    std::string Run(CpuStepper& stepper, int steps, float omega, bool anyNaN = false,
                    CollisionModel model = CollisionModel::Bgk)
    {
        int cur = 0;
        std::vector<LatticeCell> fromPlanes(ref[0].size());
        for (int n = 0; n < steps; ++n) {
            StepReference({ref[cur].data(), ref[1 - cur].data(), mask.data(), W, H, omega, model});
            stepper.Step({opt[cur].data(), opt[1 - cur].data(), mask.data(), W, H, omega, model});
            stepper.Step(*planes[cur], *planes[1 - cur], mask.data(), omega, model);
            cur = 1 - cur;
            for (int k = 0; k < 2; ++k) {
                planes[k]->CopyTo(fromPlanes.data());
                for (const auto& [got, layout] : {std::pair{&opt[k], "cells"}, std::pair{&fromPlanes, "planes"}}) {
                    const std::string where = Difference(ref[k], *got, anyNaN);
                    if (!where.empty())
                        return std::string(layout) + ", step " + std::to_string(n) + " lattice " + std::to_string(k) +
                               where;
                }
            }
        }
        return "";
    }

    std::string Difference(const std::vector<LatticeCell>& want, const std::vector<LatticeCell>& got, bool anyNaN)
    {
        if (std::memcmp(want.data(), got.data(), want.size() * sizeof(LatticeCell)) == 0)
            return "";
        for (size_t c = 0; c < want.size(); ++c)
            for (int i = 0; i < 9; ++i) {
                const float a = want[c].f[i], b = got[c].f[i];
                if (std::memcmp(&a, &b, sizeof a) != 0 && !(anyNaN && std::isnan(a) && std::isnan(b)))
                    return " cell (" + std::to_string(c % W) + "," + std::to_string(c / W) + ") direction " +
                           std::to_string(i) + ": " + std::to_string(a) + " vs " + std::to_string(b);
            }
        return "";
    }
};

void FillRandom(Twin& t, std::mt19937& rng, float lo, float hi)
{
    std::uniform_real_distribution<float> u(lo, hi);
    for (int k = 0; k < 2; ++k)
        for (auto& c : t.ref[k])
            for (float& v : c.f)
                v = u(rng);
}

// A flow with obstacles: rectangles and ellipses that overlap, straddle the
// frame or lie outside; a disturbed stream; an empty region (as a lattice
// that was never reset) and patches right at the empty-density bound; and a
// different state in the other lattice, so that a cell written when it should
// not be (or the reverse) shows up.
Twin MakeScene(int W, int H, unsigned seed)
{
    Twin t(W, H);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> noise(-0.01f, 0.01f);
    const LatticeCell boundary = ComputeEquilibrium(1.0f, 0.08f, -0.03f);
    const LatticeCell stale = ComputeEquilibrium(0.9f, -0.02f, 0.03f);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool frame = x == 0 || y == 0 || x == W - 1 || y == H - 1;
            t.At(0, x, y) = boundary;
            t.At(1, x, y) = frame ? boundary : stale;
            if (!frame)
                for (int k = 0; k < 2; ++k)
                    for (float& v : t.At(k, x, y).f)
                        v += noise(rng);
        }
    for (int y = H / 2; y < H - 1; ++y)
        for (int x = 1; x < std::max(W / 3, 2); ++x)
            t.At(0, x, y) = LatticeCell{};
    const float bound = kEmptyDensityBelow;
    const float tiny[] = {bound, std::nextafter(bound, 1.0f), -bound, -std::nextafter(bound, 1.0f), 1e-8f, -1e-8f,
                          std::numeric_limits<float>::denorm_min(), -0.0f};
    for (int p = 0; p < 8; ++p) {
        const int x0 = W / 3 + (p * (W / 3 + 1)) / 8, y0 = 1 + (p % 3) * (H / 4);
        for (int y = y0; y < std::min(y0 + 4, H - 1); ++y)
            for (int x = std::max(x0, 1); x < std::min(x0 + 4, W - 1); ++x) {
                LatticeCell c{};
                c.f[p % 9] = tiny[p];
                t.At(0, x, y) = c;
            }
    }
    std::list<Obstacle> obstacles = {
        {0, W / 4, H / 4, W / 5 + 1, H / 6 + 1}, {1, W / 4 + 2, H / 4 + 1, W / 4 + 2, H / 3 + 1},
        {1, -3, H / 2, 7, 9},                   {0, W - 2, -2, 5, 4},
        {1, W / 2, H - 3, 9, 7},                {0, W + 5, 2, 3, 3},
        {1, 1, 1, 1, 1},
    };
    BuildObstacleMask(t.mask, W, H, obstacles);
    t.Mirror();
    return t;
}

}  // namespace

TEST(CpuStepper, EmptyDensityBoundDecidesLikeTheDoubleTest)
{
    for (float start : {kEmptyDensityBelow, -kEmptyDensityBelow}) {
        float v = start;
        for (int n = 0; n < 200; ++n)
            v = std::nextafter(v, 0.0f);
        for (int n = 0; n < 400; ++n, v = std::nextafter(v, start * 2.0f))
            ASSERT_EQ(std::fabs(v) > kEmptyDensityBelow, !d2q9::IsEmptyDensity(v)) << v;
    }
    EXPECT_TRUE(d2q9::IsEmptyDensity(std::numeric_limits<float>::quiet_NaN()));
}

TEST(CpuStepper, MatchesThePlainLoopBitForBit)
{
    // Widths below, at and around the lane counts, grids without interior
    // columns or rows, and a few larger ones.
    const int sizes[][2] = {{2, 9},   {9, 2},   {3, 3},   {4, 5},    {17, 4},   {18, 18},
                            {19, 7},  {33, 21}, {40, 3},  {64, 40},  {100, 37}, {130, 71}};
    const float omegas[] = {1.5f, 1.0f, 0.6f};
    for (CpuIsa isa : SupportedIsas())
        for (int threads : {1, 2, 3}) {
            int scene = 0;
            for (const auto& s : sizes) {
                const float omega = omegas[scene % 3];
                const CpuStores stores = scene % 2 ? CpuStores::Streaming : CpuStores::Cached;
                Twin t = MakeScene(s[0], s[1], 17u + static_cast<unsigned>(scene++));
                CpuStepper stepper(s[0], s[1], {isa, threads, stores});
                EXPECT_EQ(stepper.Isa(), isa);
                // Three bands on two cores only add hand-offs: fewer steps.
                EXPECT_EQ(t.Run(stepper, threads == 3 ? 40 : 200, omega), "")
                    << CpuIsaName(isa) << " threads " << threads << " grid " << s[0] << "x" << s[1] << " streaming "
                    << (stores == CpuStores::Streaming);
                // Every bit counts here; non-finite values are the business
                // of the next test.
                for (const auto& c : t.ref[0])
                    for (float v : c.f)
                        ASSERT_TRUE(std::isfinite(v)) << "the scene should stay finite";
            }
        }
}

TEST(CpuStepper, MatchesThePlainLoopOnRoughDataAndDivergingFlow)
{
    // Negative values, densities of either sign, and an unstable relaxation
    // that drives part of the grid to infinities and NaNs.
    for (CpuIsa isa : SupportedIsas())
        for (int threads : {1, 2}) {
            Twin t(45, 23);
            std::mt19937 rng(5);
            FillRandom(t, rng, -0.4f, 0.5f);
            for (int y = 5; y < 12; ++y)
                for (int x = 20; x < 30; ++x)
                    for (float& v : t.At(0, x, y).f)
                        v *= 1e30f;
            BuildObstacleMask(t.mask, 45, 23, {Obstacle{1, 10, 5, 8, 12}});
            t.Mirror();
            CpuStepper stepper(45, 23, {isa, threads});
            EXPECT_EQ(t.Run(stepper, 60, 1.99f, true), "") << CpuIsaName(isa) << " threads " << threads;
            int nonFinite = 0;
            for (const auto& c : t.ref[0])
                for (float v : c.f)
                    nonFinite += std::isfinite(v) ? 0 : 1;
            EXPECT_GT(nonFinite, 0) << "the flow was meant to diverge";
        }
}

TEST(CpuStepper, SmagorinskyMatchesThePlainLoopBitForBit)
{
    // The scene's disturbed stream, empty cells and obstacles near the
    // highest rate, where the eddy viscosity of each cell matters; then rough
    // data with densities of either sign, which diverges all the same.
    const int sizes[][2] = {{3, 3}, {19, 7}, {64, 40}, {130, 71}};
    for (CpuIsa isa : SupportedIsas())
        for (int threads : {1, 2}) {
            int scene = 0;
            for (const auto& s : sizes) {
                Twin t = MakeScene(s[0], s[1], 31u + static_cast<unsigned>(scene++));
                CpuStepper stepper(s[0], s[1], {isa, threads, scene % 2 ? CpuStores::Streaming : CpuStores::Cached});
                EXPECT_EQ(t.Run(stepper, 100, 1.99f, false, CollisionModel::Smagorinsky), "")
                    << CpuIsaName(isa) << " threads " << threads << " grid " << s[0] << "x" << s[1];
            }
            Twin rough(45, 23);
            std::mt19937 rng(7);
            FillRandom(rough, rng, -0.4f, 0.5f);
            BuildObstacleMask(rough.mask, 45, 23, {Obstacle{1, 10, 5, 8, 12}});
            rough.Mirror();
            CpuStepper stepper(45, 23, {isa, threads});
            EXPECT_EQ(rough.Run(stepper, 60, 1.99f, true, CollisionModel::Smagorinsky), "")
                << CpuIsaName(isa) << " threads " << threads << " rough data";
        }
}

// Timed stores switch modes on the first steps, bits unchanged, and then
// keep the one the timing chose.
TEST(CpuStepper, TimedStoresSettleWithTheSameBits)
{
    for (int threads : {1, 2}) {
        Twin t = MakeScene(100, 37, 11);
        CpuStepper stepper(100, 37, {BestCpuIsa(), threads, CpuStores::Timed});
        EXPECT_TRUE(stepper.ChoosingStores());
        // Both layouts step through the same stepper: the trial is over after
        // half as many calls of Run.
        EXPECT_EQ(t.Run(stepper, CpuStepStoreTrial::kSteps / 2, 1.2f), "");
        EXPECT_FALSE(stepper.ChoosingStores());
        const bool chosen = stepper.Streaming();
        EXPECT_EQ(t.Run(stepper, 3, 1.2f), "");
        EXPECT_EQ(stepper.Streaming(), chosen);
    }
}

// The trial counts only the settled steps of each block: the first step after
// a change still carries the other mode's cache state.
TEST(CpuStepper, StoreTrialKeepsTheModeWithTheFasterSettledStep)
{
    for (bool streamingFaster : {false, true}) {
        CpuStepStoreTrial trial;
        std::string modes;
        while (trial.Running()) {
            const bool stream = trial.StreamNext();
            modes += stream ? 'S' : 'C';
            const bool firstOfBlock = modes.size() % CpuStepStoreTrial::kBlockSteps == 1;
            // The slower mode's first steps look fastest of all.
            double seconds = stream == streamingFaster ? 1.0 : 2.0;
            if (firstOfBlock && stream != streamingFaster)
                seconds = 0.1;
            trial.Record(seconds);
        }
        EXPECT_EQ(modes, "CCCSSSCCCSSS");
        EXPECT_EQ(trial.StreamNext(), streamingFaster);
        trial.Record(0.0);  // after the trial, steps change nothing
        EXPECT_EQ(trial.StreamNext(), streamingFaster);
    }
}

TEST(CpuStepper, EmptyCellsKeepTheOtherLatticeAndObstacleCellsAreAlwaysWritten)
{
    const int W = 40, H = 12;
    for (CpuIsa isa : SupportedIsas()) {
        std::vector<LatticeCell> cur(W * H), other(W * H);
        LatticeCell marker;
        for (int i = 0; i < 9; ++i)
            marker.f[i] = 7.0f + static_cast<float>(i);
        for (auto& c : other)
            c = marker;
        // Only row 5 holds mass, so rows 4..6 are written, the rest is empty;
        // an obstacle cell in the empty part is written all the same.
        for (int x = 0; x < W; ++x)
            cur[5 * W + x] = ComputeEquilibrium(1.0f, 0.0f, 0.0f);
        std::vector<int32_t> mask(W * H, 0);
        mask[9 * W + 20] = 1;
        CpuStepper stepper(W, H, {isa, 2});
        stepper.Step({cur.data(), other.data(), mask.data(), W, H, 1.0f});
        for (int y = 1; y <= H - 2; ++y)
            for (int x = 1; x <= W - 2; ++x) {
                const bool written = (y >= 4 && y <= 6) || (x == 20 && y == 9);
                const bool kept = std::memcmp(&other[y * W + x], &marker, sizeof marker) == 0;
                EXPECT_EQ(kept, !written) << CpuIsaName(isa) << " " << x << "," << y;
            }
        for (float v : other[9 * W + 20].f)
            EXPECT_EQ(v, 0.0f);
    }
}

TEST(CpuStepper, WorkersStartOnDemandAndStopCleanly)
{
    const int W = 50, H = 30;
    Twin t = MakeScene(W, H, 3);
    for (int round = 0; round < 20; ++round) {
        CpuStepper idle(W, H, {BestCpuIsa(), 2});  // never stepped: nothing to join
        CpuStepper stepper(W, H, {BestCpuIsa(), 2});
        EXPECT_EQ(stepper.Threads(), 2);
        EXPECT_EQ(t.Run(stepper, 2, 1.2f), "");
    }
    CpuStepper oneRow(W, 3, {BestCpuIsa(), 4});
    EXPECT_EQ(oneRow.Threads(), 1) << "no more bands than interior rows";
}

TEST(CpuStepper, AGridOfAnotherSizeIsSteppedByThePlainLoop)
{
    Twin t = MakeScene(37, 20, 9);
    CpuStepper stepper(20, 37, {BestCpuIsa(), 2});  // rings too narrow for this grid
    EXPECT_EQ(t.Run(stepper, 3, 1.3f), "");
    // Planes of two sizes, or one lattice as both, cannot make a step.
    EXPECT_THROW(stepper.Step(*t.planes[0], *t.planes[0], t.mask.data(), 1.3f), std::invalid_argument);
    CpuStepLattice narrower(36, 20);
    EXPECT_THROW(stepper.Step(*t.planes[0], narrower, t.mask.data(), 1.3f), std::invalid_argument);
}

TEST(CpuStepper, SimulatorStepsLikeThePlainLoop)
{
    const int W = 150, H = 130;  // large enough for the automatic second thread
    CpuLbmSimulator sim(W, H);
    sim.SetViscosity(1.0f / 20.0f);
    sim.SetBoundaryVelocity(0.1f, 0.0f);
    sim.ResetFlow(0.1f, 0.0f);
    sim.AddObstacle({1, 30, 50, 20, 25});
    sim.AddObstacle({0, 80, -4, 6, 40});
    std::vector<LatticeCell> a(sim.Current(), sim.Current() + W * H), b(sim.Other(), sim.Other() + W * H);
    sim.Step(40);
    for (int n = 0; n < 40; ++n) {
        StepReference({a.data(), b.data(), sim.ObstacleMask().data(), W, H, sim.RelaxationCoefficient()});
        std::swap(a, b);
    }
    EXPECT_EQ(0, std::memcmp(a.data(), sim.Current(), a.size() * sizeof(LatticeCell)));
    EXPECT_EQ(0, std::memcmp(b.data(), sim.Other(), b.size() * sizeof(LatticeCell)));
}

// Passes between steps share the step threads: every index exactly once,
// whatever the thread count, and a step after a pass is a step again.
TEST(CpuStepper, SpansCoverEveryIndexOnceAndLeaveTheStepIntact)
{
    const int W = 300, H = 200;  // past the size where a pass is split
    for (int threads : {1, 2, 3}) {
        Twin t = MakeScene(W, H, 21);
        CpuStepper stepper(W, H, {BestCpuIsa(), threads});
        for (size_t count : {size_t{0}, size_t{1}, size_t{7}, size_t{16383}, size_t{16384}, size_t{60001},
                             static_cast<size_t>(W) * H}) {
            std::vector<std::atomic<int>> seen(count);
            std::atomic<int> calls{0};
            stepper.ForEachSpan(count, [&](size_t first, size_t last) {
                ++calls;
                for (size_t i = first; i < last; ++i)
                    seen[i].fetch_add(1);
            });
            for (size_t i = 0; i < count; ++i)
                ASSERT_EQ(seen[i].load(), 1) << "index " << i << " of " << count << ", " << threads << " threads";
            EXPECT_LE(calls.load(), threads);
            ASSERT_EQ(t.Run(stepper, 2, 1.1f), "") << count << " indices, " << threads << " threads";
        }
    }
}

TEST(CpuStepper, StagedTexelsAreTheMacroscopicValuesOfEachCell)
{
    Twin t = MakeScene(260, 90, 5);  // empty cells and densities at the bound included
    const std::vector<LatticeCell>& lattice = t.ref[0];
    // Sentinels past the end catch a row end written beyond its last cell.
    std::vector<float> texels(lattice.size() * 4 + 64, -1.0f);
    const auto expectMacroscopic = [&](const std::string& what) {
        for (size_t n = 0; n < lattice.size(); ++n) {
            const Macroscopic m = ComputeMacroscopic(lattice[n]);
            const float want[4] = {m.ux, m.uy, m.rho, 0.0f};
            ASSERT_EQ(std::memcmp(&texels[4 * n], want, sizeof want), 0) << what << ", cell " << n;
        }
        for (size_t n = lattice.size() * 4; n < texels.size(); ++n)
            ASSERT_EQ(texels[n], -1.0f) << what << ": written past the end";
    };
    CpuStepper stepper(t.W, t.H, {BestCpuIsa(), 2});
    stepper.ForEachSpan(lattice.size(), [&](size_t first, size_t last) {
        StageVelocities(lattice.data(), first, last, texels.data());
    });
    expectMacroscopic("cells");
    // From planes, in spans that start and end inside rows, some shorter
    // than a vector.
    const size_t bounds[] = {0, 7, 9, 300, 5203, 5211, lattice.size()};
    for (CpuIsa isa : SupportedIsas()) {
        std::fill(texels.begin(), texels.end(), -1.0f);
        for (size_t k = 0; k + 1 < std::size(bounds); ++k)
            StageVelocities(*t.planes[0], bounds[k], bounds[k + 1], texels.data(), isa);
        expectMacroscopic(std::string("planes, ") + CpuIsaName(isa));
    }
}

TEST(CpuStepper, StagedVorticityInSpansThatStartInsideRows)
{
    // ux = y / 4, uy = x / 2: a curl of 0.25 at every cell whose four
    // neighbours are fluid and on the grid, exact in floats.
    const int W = 13, H = 9;
    std::vector<float> texels(static_cast<size_t>(W * H) * 4, 0.0f);
    std::vector<int32_t> mask(static_cast<size_t>(W * H), 0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            texels[static_cast<size_t>(y * W + x) * 4] = 0.25f * static_cast<float>(y);
            texels[static_cast<size_t>(y * W + x) * 4 + 1] = 0.5f * static_cast<float>(x);
            texels[static_cast<size_t>(y * W + x) * 4 + 3] = -1.0f;
        }
    const int obstacleX = 6, obstacleY = 4;
    mask[static_cast<size_t>(obstacleY * W + obstacleX)] = 1;
    const size_t bounds[] = {0, 5, 30, 31, 70, mask.size()};
    for (size_t k = 0; k + 1 < std::size(bounds); ++k)
        StageVorticity(texels.data(), mask.data(), W, H, bounds[k], bounds[k + 1]);
    for (int y = 1; y < H - 1; ++y)
        for (int x = 1; x < W - 1; ++x) {
            const int fromObstacle = std::abs(x - obstacleX) + std::abs(y - obstacleY);
            const float curl = texels[static_cast<size_t>(y * W + x) * 4 + 3];
            if (fromObstacle == 0) {
                EXPECT_EQ(curl, 0.0f) << "the obstacle cell";
            } else if (fromObstacle > 1) {
                EXPECT_EQ(curl, 0.25f) << "cell " << x << ", " << y;
            }
        }
}
