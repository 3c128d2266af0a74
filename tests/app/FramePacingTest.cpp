#include "app/FramePacing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// The passes one frame takes when every step costs stepSeconds.
std::vector<int32_t> PassesOfOneFrame(FramePacing& pacing, int32_t frameSteps, double stepSeconds)
{
    std::vector<int32_t> passes;
    do {
        const int32_t steps = StepsForPass(pacing, frameSteps, 0.25);
        passes.push_back(steps);
        RecordPassTime(pacing, steps, steps * stepSeconds);
    } while (!FrameComplete(pacing) && passes.size() < 100);
    return passes;
}
}  // namespace

TEST(FramePacing, AFrameThatFitsTheBudgetIsOnePassOnceTheCostIsKnown)
{
    FramePacing pacing;
    // A new simulator: one step measures the cost, the rest of the frame follows.
    EXPECT_EQ(PassesOfOneFrame(pacing, 10, 0.008), (std::vector<int32_t>{1, 9}));
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(PassesOfOneFrame(pacing, 10, 0.008), std::vector<int32_t>{10});
    // A pass too quick for the clock does not make the cost unknown again.
    RecordPassTime(pacing, 10, 0.0);
    EXPECT_EQ(PassesOfOneFrame(pacing, 40, 0.0), std::vector<int32_t>{40});
}

TEST(FramePacing, ASlowFrameIsSpreadOverPassesWithinTheBudget)
{
    FramePacing pacing;
    RecordPassTime(pacing, 1, 0.06);
    // 40 steps of 60 ms: four steps per pass, and the frame's count is exact.
    const std::vector<int32_t> passes = PassesOfOneFrame(pacing, 40, 0.06);
    EXPECT_EQ(passes, std::vector<int32_t>(10, 4));
    // The next frame starts only after the last one; a change of the rate
    // meanwhile counts from the next frame on.
    EXPECT_EQ(StepsForPass(pacing, 40, 0.25), 4);
    EXPECT_EQ(pacing.owed, 36);
    EXPECT_EQ(StepsForPass(pacing, 1, 0.25), 4);
    EXPECT_EQ(pacing.owed, 32);

    // A single step longer than the budget still advances, one at a time.
    FramePacing slow;
    RecordPassTime(slow, 1, 2.0);
    EXPECT_EQ(PassesOfOneFrame(slow, 3, 2.0), (std::vector<int32_t>{1, 1, 1}));
}
