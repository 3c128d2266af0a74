#include "app/IterationRate.h"
#include "app/ProgressReport.h"
#include "app/StepFileName.h"

#include <gtest/gtest.h>

TEST(IterationRate, TitleRefreshesOnlyAfterMoreThanOneSecond)
{
    IterationRate rate;
    rate.Restart(5000);
    rate.iterationCount = 1010;
    EXPECT_FALSE(rate.TitleAt(6000).has_value());  // exactly 1000 ms: not yet
    EXPECT_EQ(rate.iterationCount, 1010);
    rate.iterationCount = 1010;
    rate.lastTitleTick = 5000;
    EXPECT_EQ(rate.TitleAt(6010).value(), "Eddyra -- 1000 ips");
    EXPECT_EQ(rate.iterationCount, 0);
    EXPECT_EQ(rate.lastTitleTick, 6010u);

    rate.iterationCount = 12340;
    EXPECT_EQ(rate.TitleAt(6010 + 1016).value(), "Eddyra -- 12145.7 ips");
}

TEST(IterationRate, SurvivesTheTickCounterWrapping)
{
    IterationRate rate;
    rate.Restart(0xFFFFFF00u);
    rate.iterationCount = 2002;
    EXPECT_FALSE(rate.TitleAt(0x000000F0u).has_value());  // 496 ms later
    EXPECT_EQ(rate.TitleAt(0xFFFFFF00u + 2002u).value(), "Eddyra -- 1000 ips");
}

TEST(IterationRate, CountStopsAtItsLargestValueInsteadOfTurningNegative)
{
    IterationRate rate;
    rate.Count(40);
    rate.Count(-7);
    EXPECT_EQ(rate.iterationCount, 40);
    rate.iterationCount = 2147483600;
    rate.Count(40);
    EXPECT_EQ(rate.iterationCount, 2147483640);
    rate.Count(40);
    EXPECT_EQ(rate.iterationCount, 2147483647);
}

TEST(ProgressReport, OneLineASecondAtMostWithTheRateSinceTheLastLine)
{
    ProgressReport progress(1000, 3000, 10.0);
    EXPECT_FALSE(progress.At(1400, 10.9));
    const auto line = progress.At(1500, 11.0);
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, "step 1500 of 3000 (25.0 %), 500 it/s, 3 s left");
    EXPECT_FALSE(progress.At(1900, 11.5));
    const auto next = progress.At(2000, 12.0);
    ASSERT_TRUE(next);
    EXPECT_NE(next->find("500 it/s"), std::string::npos) << *next;
    EXPECT_EQ(FormatDuration(200), "3 min 20 s");
    EXPECT_EQ(FormatDuration(7500), "2 h 05 min");
}

TEST(StepFileName, EveryPlaceholderBecomesTheStepPaddedToTheLastStep)
{
    EXPECT_EQ(StepFileName("out/f_{step}.vti", 500, DecimalDigits(10000)), "out/f_00500.vti");
    EXPECT_EQ(StepFileName("{step}-{step}.png", 7, 1), "7-7.png");
    EXPECT_EQ(StepFileName("plain.npy", 7, 3), "plain.npy");
    EXPECT_EQ(StepFileName("x_{step}", 123456, 3), "x_123456") << "a longer number is never cut";
}
