#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/Scalar.h"

TEST(Scalar, FloorTruncatesPositivesAndRoundsNegativesDown)
{
    EXPECT_EQ(cg::floor(2.7), 2);
    EXPECT_EQ(cg::floor(2.0), 2);
    EXPECT_EQ(cg::floor(0.0), 0);
    EXPECT_EQ(cg::floor(-2.0), -2);
    EXPECT_EQ(cg::floor(-2.5), -3);
    EXPECT_EQ(cg::floor(-0.3), -1);
    // Within 1e-10 below an integer counts as that integer.
    EXPECT_EQ(cg::floor(-2.0 - 5e-11), -2);
    EXPECT_EQ(cg::floor(-2.0 - 1e-9), -3);
    EXPECT_EQ(cg::nfloor(-2.5), -3.0);
    EXPECT_EQ(cg::nfloor(7.9), 7.0);
}

TEST(Scalar, FloorOfWildValuesIsDefined)
{
    EXPECT_EQ(cg::floor(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(cg::floor(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(cg::floor(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(cg::nfloor(1e300), 1e300);
}

TEST(Scalar, TolerantComparisons)
{
    EXPECT_TRUE(cg::eq(1.0, 1.0 + 5e-11, cg::epsilon<double>()));
    EXPECT_FALSE(cg::eq(1.0, 1.0 + 2e-10, cg::epsilon<double>()));
    EXPECT_TRUE(cg::eq_zero(-1e-10, 1e-10));
    EXPECT_TRUE(cg::ge(1.0, 1.0 + 5e-11, 1e-10));
    EXPECT_FALSE(cg::ge(1.0, 1.1, 1e-10));
    EXPECT_TRUE(cg::le(1.0 + 5e-11, 1.0, 1e-10));
    EXPECT_FALSE(cg::le(1.1, 1.0, 1e-10));
    EXPECT_EQ(cg::scalar_traits<double>::epsilon(), 1e-10);
}

TEST(Scalar, SortTwo)
{
    double lo = 0, hi = 0;
    cg::sort2(4.0, -1.0, &lo, &hi);
    EXPECT_EQ(lo, -1);
    EXPECT_EQ(hi, 4);
    cg::sort2(-1.0, 4.0, &lo, &hi);
    EXPECT_EQ(lo, -1);
    EXPECT_EQ(hi, 4);
}
