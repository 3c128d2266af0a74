#include "app/IterationRate.h"

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
