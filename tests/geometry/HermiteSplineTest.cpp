#include <gtest/gtest.h>

#include <cmath>

#include "geometry/HermiteSplineManager.h"

using cg::point_2;
using Manager = cg::HermiteSplineManager<>;

namespace {

// Tangent of one polynomial at local t.
point_2 Slope(const cg::CubicPolynom<>& c, double t)
{
    return c.C1 + c.C2 * (2 * t) + c.C3 * (3 * t * t);
}

void ExpectNear(const point_2& a, const point_2& b, double tol = 1e-12)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
}

}  // namespace

TEST(CubicPolynom, HornerMatchesPowers)
{
    cg::CubicPolynom<> c{point_2(1, 2), point_2(3, 4), point_2(5, 6), point_2(7, 8)};
    const double t = 0.3;
    const point_2 v = c(t);
    EXPECT_NEAR(v.x, 1 + 3 * t + 5 * t * t + 7 * t * t * t, 1e-14);
    EXPECT_NEAR(v.y, 2 + 4 * t + 6 * t * t + 8 * t * t * t, 1e-14);
    ExpectNear(cg::CubicPolynom<>{}(5.0), point_2(0, 0));
}

TEST(HermiteSpline, GetIdxClampsToTheEnds)
{
    cg::HermiteSpline<> s;
    s.resize(2);
    double t = 2.5;
    EXPECT_EQ(s.GetIdx(t), 1);
    EXPECT_EQ(t, 1);
    t = -0.5;
    EXPECT_EQ(s.GetIdx(t), 0);
    EXPECT_EQ(t, 0);
    t = 1.25;
    EXPECT_EQ(s.GetIdx(t), 1);
    EXPECT_EQ(t, 0.25);
    t = 2.0;  // the last control point
    EXPECT_EQ(s.GetIdx(t), 1);
    EXPECT_EQ(t, 1);
}

TEST(HermiteSpline, EmptyCurveYieldsOrigin)
{
    cg::HermiteSpline<> s;
    ExpectNear(s(0.5), point_2(0, 0));
    Manager m;
    ExpectNear(m.Interpolate(3.0), point_2(0, 0));
}

TEST(HermiteSplineManager, DerivativeRecordIsPacked)
{
    EXPECT_EQ(sizeof(Manager::LRDerivatives), 34u);
    Manager::LRDerivatives r;
    EXPECT_TRUE(r.leftDefault);
    EXPECT_TRUE(r.rightDefault);
    EXPECT_EQ(point_2(r.left).x, 0);
    EXPECT_EQ(point_2(r.right).y, 0);
}

TEST(HermiteSplineManager, OnePointAndTwoPoints)
{
    Manager m;
    m.PushBack(point_2(2, 3));
    EXPECT_EQ(m.GetSpline().size(), 0u);
    ExpectNear(m.Interpolate(0.7), point_2(2, 3));
    m.PushBack(point_2(4, 7));
    ASSERT_EQ(m.GetSpline().size(), 1u);
    const auto& c = m.GetSpline()[0];
    ExpectNear(c.C1, point_2(2, 4));
    ExpectNear(c.C2, point_2(0, 0));
    ExpectNear(c.C3, point_2(0, 0));
    ExpectNear(m.Interpolate(0.5), point_2(3, 5));
}

TEST(HermiteSplineManager, InteriorTangentFollowsNeighbourChord)
{
    Manager m;
    m.PushBack(point_2(0, 0));
    m.PushBack(point_2(1, 1));
    m.PushBack(point_2(2, 0));
    const double h = std::sqrt(2.0) / 2;
    ExpectNear(m.GetLeftDirection(1), point_2(h, 0));
    ExpectNear(m.GetRightDirection(1), point_2(h, 0));
    EXPECT_FALSE(m.GetDerivatives(1).leftDefault);
    EXPECT_TRUE(m.GetDerivatives(0).rightDefault);
    EXPECT_TRUE(m.GetDerivatives(2).leftDefault);

    const auto& s = m.GetSpline();
    ASSERT_EQ(s.size(), 2u);
    // Each segment runs through its end points.
    ExpectNear(s[0](0), point_2(0, 0));
    ExpectNear(s[0](1), point_2(1, 1));
    ExpectNear(s[1](0), point_2(1, 1));
    ExpectNear(s[1](1), point_2(2, 0));
    // Free start: no curvature at the first point, tangent L at the middle.
    ExpectNear(s[0].C2, point_2(0, 0));
    ExpectNear(Slope(s[0], 1), point_2(h, 0));
    // Free end: tangent R at the middle, no curvature at the last point.
    ExpectNear(Slope(s[1], 0), point_2(h, 0));
    ExpectNear(s[1].C2 * 2.0 + s[1].C3 * 6.0, point_2(0, 0));
    // Global parameter: 1 is the middle point, beyond the ends is clamped.
    ExpectNear(m.Interpolate(1.0), point_2(1, 1));
    ExpectNear(m.Interpolate(5.0), point_2(2, 0));
    ExpectNear(m.Interpolate(-1.0), point_2(0, 0));
}

TEST(HermiteSplineManager, CoincidentNeighboursGiveZeroTangent)
{
    Manager m;
    m.PushBack(point_2(1, 1));
    m.PushBack(point_2(2, 2));
    m.PushBack(point_2(1, 1));
    ExpectNear(m.GetLeftDirection(1), point_2(0, 0));
    EXPECT_FALSE(std::isnan(m.Interpolate(0.5).x));
}

TEST(HermiteSplineManager, SetDirectionReshapesBothNeighbours)
{
    Manager m;
    m.PushBack(point_2(0, 0));
    m.PushBack(point_2(1, 1));
    m.PushBack(point_2(2, 0));
    m.PushBack(point_2(3, 1));
    const point_2 d(0.5, -2);
    m.SetDirection(1, d);
    m.SetDirection(2, point_2(1, 0));
    const auto& s = m.GetSpline();
    ExpectNear(Slope(s[0], 1), d);
    ExpectNear(Slope(s[1], 0), d);
    // Segment 1 now has explicit tangents at both ends: full Hermite.
    ExpectNear(Slope(s[1], 1), point_2(1, 0));
    ExpectNear(s[1](1), point_2(2, 0));
    ExpectNear(Slope(s[2], 0), point_2(1, 0));
    // The last point keeps its free end.
    ExpectNear(s[2](1), point_2(3, 1));
    ExpectNear(s[2].C2 * 2.0 + s[2].C3 * 6.0, point_2(0, 0));
}

TEST(HermiteSplineManager, ClearEmptiesEverything)
{
    Manager m;
    m.PushBack(point_2(0, 0));
    m.PushBack(point_2(1, 1));
    m.Clear();
    EXPECT_EQ(m.GetNumPoints(), 0);
    EXPECT_TRUE(m.GetSpline().empty());
    m.PushBack(point_2(5, 5));
    EXPECT_TRUE(m.GetDerivatives(0).leftDefault);
}
