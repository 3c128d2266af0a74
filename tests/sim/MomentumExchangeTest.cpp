#include "sim/MomentumExchange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sim/CpuLbmSimulator.h"

namespace {

struct Flow {
    std::vector<LatticeCell> cells;
    int W, H;
};

// A CPU run of steps from a uniform inflow (ux, 0) around the obstacles.
Flow RunFlow(int W, int H, float ux, float invViscosity, const std::vector<Obstacle>& obstacles, int steps)
{
    CpuLbmSimulator sim(W, H);
    sim.AddObstacles(obstacles);
    sim.SetViscosity(1.0f / invViscosity);
    sim.SetBoundaryVelocity(ux, 0.0f);
    sim.ResetFlow(ux, 0.0f);
    sim.Step(steps);
    Flow flow{std::vector<LatticeCell>(static_cast<size_t>(W) * H), W, H};
    EXPECT_TRUE(sim.FetchGridState(&flow.cells[0].f[0], int(flow.cells.size() * sizeof(LatticeCell))));
    return flow;
}

BodyForce Force(const Flow& flow, const std::vector<Obstacle>& obstacles, ColumnRange columns = {})
{
    CpuLbmSimulator forMask(flow.W, flow.H);
    forMask.AddObstacles(obstacles);
    return MomentumExchangeForce(flow.cells, forMask.ObstacleMask(), flow.W, flow.H, columns);
}

}  // namespace

// Fluid at rest presses equally from every side, on any shape.
TEST(MomentumExchange, FluidAtRestPushesNowhere)
{
    const std::vector<Obstacle> bodies = {{0, 10, 7, 5, 9}, {1, 30, 12, 13, 6}};
    const Flow flow = RunFlow(64, 32, 0.0f, 20.0f, bodies, 50);
    const BodyForce f = Force(flow, bodies);
    EXPECT_NEAR(f.fx, 0.0, 1e-9);
    EXPECT_NEAR(f.fy, 0.0, 1e-9);
}

// A body symmetric about the flow's axis feels a drag along the flow and
// no lift; the mirrored run feels the mirrored drag.
TEST(MomentumExchange, UniformFlowPushesASymmetricBodyDownstreamOnly)
{
    const int W = 96, H = 48;
    const std::vector<Obstacle> disc = {{1, 30, 19, 10, 10}};
    const std::vector<Obstacle> mirrored = {{1, W - 40, 19, 10, 10}};
    const BodyForce downstream = Force(RunFlow(W, H, 0.05f, 20.0f, disc, 300), disc);
    const BodyForce upstream = Force(RunFlow(W, H, -0.05f, 20.0f, mirrored, 300), mirrored);
    EXPECT_GT(downstream.fx, 1e-3);
    EXPECT_LT(std::fabs(downstream.fy), 1e-5 * downstream.fx);
    EXPECT_NEAR(upstream.fx, -downstream.fx, 1e-5 * downstream.fx);
    EXPECT_LT(std::fabs(upstream.fy), 1e-5 * downstream.fx);
    // Only the obstacle cells of the columns asked for count.
    EXPECT_EQ(Force(RunFlow(W, H, 0.05f, 20.0f, disc, 10), disc, {0, 30}).fx, 0.0);
}

// In a developed channel flow the walls carry the pressure drop: the force
// on a stretch of both walls equals the drop over it times the channel's
// height (the walls' bounce-back planes lie half a cell off the wall cells).
TEST(MomentumExchange, PoiseuilleWallsCarryThePressureDrop)
{
    const int W = 160, H = 26;
    const std::vector<Obstacle> walls = {{0, 0, 1, W, 1}, {0, 0, H - 2, W, 1}};
    const Flow flow = RunFlow(W, H, 0.05f, 10.0f, walls, 12000);
    auto meanPressure = [&](int x) {
        double sum = 0.0;
        for (int y = 2; y <= H - 3; ++y)
            sum += ComputeMacroscopic(flow.cells[static_cast<size_t>(y * W + x)]).rho / 3.0;
        return sum / (H - 4);
    };
    const int from = 40, to = 120;
    const double drop = (meanPressure(from) - meanPressure(to)) * (H - 4);
    const BodyForce f = Force(flow, walls, {from, to});
    ASSERT_GT(drop, 0.0);
    EXPECT_NEAR(f.fx, drop, 0.03 * drop);
    EXPECT_NEAR(f.fy, 0.0, 1e-3 * drop);
}
