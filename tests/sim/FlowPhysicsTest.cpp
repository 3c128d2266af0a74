// The solver against the analytic solutions of channel flow, in a channel
// built as a user builds it.  The viscosity expected is the one the
// parameters set, nu = 1 / "runtime|invViscosity"; 10 is the most viscous
// the parameter allows, so the flow settles in the fewest steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim/CpuLbmSimulator.h"
#include "tests/sim/ChannelFlow.h"

namespace {
constexpr float kInvViscosity = 10.0f;
constexpr double kViscosity = 1.0 / kInvViscosity;
constexpr float kInflow = 0.02f;  // Mach 0.035: compressibility stays far below the tolerances
}  // namespace

// Settled flow far from the inlet and the outlet: the parabola between the
// walls whose curvature the pressure gradient and the viscosity give,
// nu u'' = (dp/dx) / rho with p = rho / 3.
TEST(FlowPhysics, ChannelFlowIsThePoiseuilleParabolaOfItsPressureGradient)
{
    const Channel channel{128, 25};
    CpuLbmSimulator sim(channel.W, channel.H);
    StartChannel(sim, channel, kInvViscosity, kInflow);
    sim.Step(2000);
    const auto cells = FetchCells(sim, channel);
    ASSERT_FALSE(cells.empty());

    const int x = channel.W / 2;
    const double drive =
        -DensityGradient(cells, channel, channel.W / 4, 3 * channel.W / 4) / 3.0 / MeanDensity(cells, channel, x);
    ASSERT_GT(drive, 0.0) << "the pressure must fall along the channel";
    const auto profile = VelocityProfile(cells, channel, x);
    const double h = channel.Width();
    double error = 0.0, norm = 0.0, mean = 0.0, largest = 0.0;
    for (int j = 0; j < channel.FluidRows(); ++j) {
        const double y = channel.FromLowerWall(channel.FirstFluidRow() + j);
        const double expected = drive / (2.0 * kViscosity) * y * (h - y);
        const double u = profile[static_cast<size_t>(j)];
        error += (u - expected) * (u - expected);
        norm += expected * expected;
        mean += u / channel.FluidRows();
        largest = std::max(largest, u);
    }
    EXPECT_LT(std::sqrt(error / norm), 0.01);
    EXPECT_NEAR(largest / mean, 1.5, 0.02 * 1.5);
}

// Just after the start the channel holds a plug flow that the walls brake:
// in the middle, out of reach of the inlet's and the outlet's pressure
// waves (they need W / 2 * sqrt(3) steps), its slowest shear mode decays at
// nu (pi / width)^2.
TEST(FlowPhysics, ShearWaveDecaysAtTheRateTheViscositySets)
{
    const Channel channel{512, 24};
    CpuLbmSimulator sim(channel.W, channel.H);
    StartChannel(sim, channel, kInvViscosity, kInflow);
    const double k = std::numbers::pi / channel.Width();
    EXPECT_NEAR(ShearDecayRate(sim, channel, 100, 300) / (kViscosity * k * k), 1.0, 0.01);
}
