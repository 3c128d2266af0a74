#include "app/FlowReadout.h"

#include <gtest/gtest.h>

#include <vector>

// One link carrying a known momentum: 0.3 into an obstacle cell along +x.
// Drag and lift follow the inflow's direction, the coefficients its speed
// and the first obstacle's height.
TEST(FlowReadout, DragAndLiftTurnWithTheInflowAndScaleWithTheFirstObstacle)
{
    const int W = 8, H = 8;
    std::vector<LatticeCell> cells(W * H, LatticeCell{});
    cells[4 * W + 3].f[1] = 0.3f;
    const LbmSimulator::ObstacleList body = {{0, 4, 4, 1, 2}, {0, 6, 1, 1, 5}};

    auto run = [](float ux, float uy, int64_t step) {
        return SimulationState{.width = W, .height = H, .step = step, .flowVelX = ux, .flowVelY = uy, .invViscosity = 20.0f,
                               .obstacles = {}, .cells = {}};
    };
    const FlowNumbers up = ComputeFlowNumbers(cells, body, run(0.0f, 0.1f, 7));
    EXPECT_EQ(up.step, 7);
    EXPECT_DOUBLE_EQ(up.force.fx, double(0.3f));
    EXPECT_EQ(up.length, 2.0);
    EXPECT_NEAR(up.reynolds, 0.1 * 2 * 20, 1e-6);
    EXPECT_NEAR(up.drag, 0.0, 1e-12);
    EXPECT_NEAR(up.lift, -0.3, 1e-7) << "a push to the right of an upward flow";
    ASSERT_TRUE(up.liftCoefficient.has_value());
    EXPECT_NEAR(*up.liftCoefficient, -0.3 / (0.5 * 0.01 * 2), 1e-4);

    const FlowNumbers still = ComputeFlowNumbers(cells, body, run(0.0f, 0.0f, 0));
    EXPECT_NEAR(still.drag, 0.3, 1e-7);
    EXPECT_FALSE(still.dragCoefficient.has_value()) << "no dynamic pressure to divide by";

    const FlowNumbers open = ComputeFlowNumbers(cells, {}, run(0.1f, 0.0f, 0));
    EXPECT_EQ(open.length, double(H));
    EXPECT_EQ(open.drag, 0.0);
    EXPECT_NE(FlowLine(up).find("Step 7"), std::string::npos);
}
