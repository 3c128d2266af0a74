#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/HermiteSplineF.h"

using cg::point_2;
using Curve = cg::HermiteSplineF<>;

TEST(HermiteSplineF, EntryHasThePointRecordLayout)
{
    EXPECT_EQ(sizeof(Curve::entry), 32u);
}

TEST(HermiteSplineF, KeepsPointsSortedWithTheirDirections)
{
    Curve c;
    c.push_back(point_2(3, 0), point_2(1, 3));
    c.push_back(point_2(1, 0), point_2(1, 1));
    c.push_back(point_2(2, 0), point_2(1, 2));
    ASSERT_EQ(c.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(c[i].x, i + 1);
        EXPECT_EQ(c.dir(i).y, i + 1);
    }
    // Moving a point past its neighbour reorders the list.
    c.set_point(0, point_2(5, 1));
    EXPECT_EQ(c[2].x, 5);
    EXPECT_EQ(c.dir(2).y, 1);
    c.erase(0);
    ASSERT_EQ(c.size(), 2);
    EXPECT_EQ(c[0].x, 3);
    c.set_direction(1, point_2(2, -4));
    EXPECT_EQ(c.dir(1).x, 2);
    EXPECT_EQ(c.dir(1).y, -4);
}

TEST(HermiteSplineF, DuplicatePointsCollapse)
{
    Curve c;
    c.push_back(point_2(1, 5), point_2(1, 0));
    c.push_back(point_2(1, 5), point_2(2, 0));
    ASSERT_EQ(c.size(), 1);
    EXPECT_EQ(c.dir(0).x, 1);  // the first of the run stays
    // Same x, different y: both stay.
    c.push_back(point_2(1, 6), point_2(1, 0));
    EXPECT_EQ(c.size(), 2);
}

TEST(HermiteSplineF, DirectionsNeverPointBackwards)
{
    Curve c;
    c.push_back(point_2(0, 0), point_2(-3, 2));
    EXPECT_EQ(c.dir(0).x, 0);
    EXPECT_EQ(c.dir(0).y, 2);
    c.push_back(point_2(1, 1), point_2(1, 1));
    c.set_direction(1, point_2(-1, -1));
    EXPECT_EQ(c.dir(1).x, 0);
    EXPECT_EQ(c.dir(1).y, -1);
}

TEST(HermiteSplineF, EvaluatesTheCurveAsAFunction)
{
    Curve c;
    // Equal tangents along the chord: the curve is the line y = x.
    c.push_back(point_2(0, 0), point_2(1, 1));
    c.push_back(point_2(2, 2), point_2(1, 1));
    for (double x : {0.0, 0.3, 1.0, 1.7, 2.0}) EXPECT_NEAR(c(x), x, 2e-3) << x;
    // Outside the points the ends hold.
    EXPECT_EQ(c(-1), 0);
    EXPECT_EQ(c(3), 2);

    Curve step;
    step.push_back(point_2(0, 0), point_2(1, 0));
    step.push_back(point_2(1, 1), point_2(1, 0));
    step.push_back(point_2(2, 1), point_2(1, 0));
    EXPECT_NEAR(step(1.0), 1, 1e-3);
    EXPECT_NEAR(step(1.5), 1, 1e-3);
    EXPECT_NEAR(step(0.5), 0.5, 1e-3);  // smoothstep is symmetric
}

TEST(HermiteSplineF, EmptyAndSinglePointCurvesHaveDefinedValues)
{
    Curve c;
    EXPECT_EQ(c(0.5), 0);
    EXPECT_EQ(c(std::numeric_limits<double>::quiet_NaN()), 0);
    c.push_back(point_2(1, 4), point_2(1, 1));
    EXPECT_EQ(c(0), 4);
    EXPECT_EQ(c(1), 4);
    EXPECT_EQ(c(9), 4);
    c.clear();
    EXPECT_EQ(c.size(), 0);
    EXPECT_EQ(c(1), 0);
}
