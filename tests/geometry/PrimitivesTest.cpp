#include <gtest/gtest.h>

#include <cmath>

#include "geometry/Clamp.h"
#include "geometry/Lerp.h"
#include "geometry/Line.h"  // compiled here; no behaviour of its own worth a test
#include "geometry/Rectangle.h"

using cg::point_2;

TEST(Point, DotProductDistanceAndTolerance)
{
    point_2 p(1, 2), q(4, 6);
    EXPECT_EQ(p * q, 16);
    EXPECT_DOUBLE_EQ(cg::distance(p, q), 5);
    EXPECT_TRUE(cg::eq(p, point_2(1 + 5e-11, 2 - 5e-11)));
    EXPECT_FALSE(cg::eq(p, point_2(1, 2.001)));
}

TEST(Range, OrdersEndsAndGrows)
{
    cg::range_2 r(5, -1);
    EXPECT_EQ(r.lo(), -1);
    EXPECT_EQ(r.hi(), 5);
    r.unite(7).unite(-3).unite(0);
    EXPECT_EQ(r.lo(), -3);
    EXPECT_EQ(r.hi(), 7);
    r.offset(1).scale(2);
    EXPECT_EQ(r.lo(), -4);
    EXPECT_EQ(r.hi(), 16);
}

TEST(Rectangle, CornersInAnyOrder)
{
    cg::rectangle_2 r(3, 4, -1, -2);
    EXPECT_EQ(r.left(), -1);
    EXPECT_EQ(r.right(), 3);
    EXPECT_EQ(r.top(), -2);
    EXPECT_EQ(r.bottom(), 4);
    r.unite(point_2(5, -6));
    EXPECT_EQ(r.right(), 5);
    EXPECT_EQ(r.top(), -6);
    r.offset(point_2(1, 1)).scale(point_2(2, 0.5));
    EXPECT_EQ(r.left(), 0);
    EXPECT_EQ(r.right(), 12);
    EXPECT_EQ(r.top(), -2.5);
    EXPECT_EQ(r.bottom(), 2.5);
    cg::rectangle_2 empty;
    EXPECT_EQ(empty.left(), 0);
    EXPECT_EQ(empty.bottom(), 0);
}

TEST(Lerp, MapsIntervalWithoutClamping)
{
    cg::Lerp<double, double> f(0, 10, 100, 200);
    EXPECT_DOUBLE_EQ(f(5), 150);
    EXPECT_DOUBLE_EQ(f(-1), 90);
    EXPECT_DOUBLE_EQ(f(20), 300);
    cg::Lerp<double, double> reversed(10, 0, 100, 200);
    EXPECT_DOUBLE_EQ(reversed(0), 200);
}

TEST(Lerp, EmptyIntervalGivesTheStartValue)
{
    cg::Lerp<double, double> f(3, 3, 100, 200);
    EXPECT_EQ(f(3), 100);
    EXPECT_EQ(f(-50), 100);
    EXPECT_FALSE(std::isnan(f(1e300)));
}

TEST(Clamp, MapsAndClamps)
{
    cg::Clamp<double, double> f(0, 10, 100, 200);
    EXPECT_EQ(f(-1), 100);
    EXPECT_DOUBLE_EQ(f(5), 150);
    EXPECT_EQ(f(11), 200);
    EXPECT_EQ(f(0), 100);
    EXPECT_EQ(f(10), 200);
}

TEST(Clamp, EmptyAndReversedIntervalsNeverDivide)
{
    cg::Clamp<double, double> empty(2, 2, 100, 200);
    EXPECT_EQ(empty(2), 100);
    EXPECT_EQ(empty(1), 100);
    EXPECT_EQ(empty(2.0000001), 200);
    cg::Clamp<double, double> reversed(10, 0, 100, 200);
    EXPECT_EQ(reversed(5), 100);
    EXPECT_EQ(reversed(11), 200);
}
