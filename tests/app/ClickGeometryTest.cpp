#include "app/ClientToGrid.h"
#include "app/ObstaclePicking.h"

#include <gtest/gtest.h>

namespace {
struct ListHolder : LbmSimulator {
    void Step(int) override {}
    void ResetFlow(float, float) override {}
    void SetBoundaryVelocity(float, float) override {}
    void SetViscosity(float) override {}
};
}  // namespace

TEST(ClientToGrid, MapsPixelsToCellsCountingRowsFromTheBottom)
{
    const ViewGeometry view{512, 256, 512, 256};
    GridPoint p = ClientToGrid(view, 100, 55);
    EXPECT_TRUE(p.inside);
    EXPECT_EQ(p.gx, 100);
    EXPECT_EQ(p.gy, 201);

    // A view twice the grid: two pixels per cell, truncating.
    const ViewGeometry doubled{1024, 512, 512, 256};
    p = ClientToGrid(doubled, 3, 511);
    EXPECT_EQ(p.gx, 1);
    EXPECT_EQ(p.gy, 0);
    EXPECT_FALSE(ClientToGrid(doubled, 5, 0).inside);  // the top pixel row is row 256
    p = ClientToGrid(doubled, 1023, 1);
    EXPECT_EQ(p.gx, 511);
    EXPECT_EQ(p.gy, 255);
    EXPECT_TRUE(p.inside);
}

TEST(ClientToGrid, PointsOffThePictureAreOutside)
{
    // The view is taller than the picture: the band above it is empty.
    const ViewGeometry tall{512, 400, 512, 256};
    EXPECT_FALSE(ClientToGrid(tall, 10, 100).inside);   // gy = 300
    EXPECT_TRUE(ClientToGrid(tall, 10, 150).inside);    // gy = 250
    EXPECT_FALSE(ClientToGrid(tall, 10, 401).inside);   // gy = -1
    EXPECT_FALSE(ClientToGrid(tall, -5, 300).inside);
    // A view shorter than the picture cuts its top off: row 255 is not reachable.
    const ViewGeometry shortView{512, 100, 512, 256};
    EXPECT_EQ(ClientToGrid(shortView, 0, 0).gy, 100);
}

TEST(ClientToGrid, NothingIsInsideAnEmptyView)
{
    EXPECT_FALSE(ClientToGrid({0, 300, 512, 256}, 0, 0).inside);
    EXPECT_FALSE(ClientToGrid({0, 0, 512, 256}, 10, 10).inside);
    EXPECT_FALSE(ClientToGrid({512, 256, 0, 0}, 10, 10).inside);
    // Unchecked huge sizes must not overflow into a wrong "inside".
    EXPECT_FALSE(ClientToGrid({1, 1, 2000000000, 2000000000}, 32767, -32768).inside);
}

TEST(ObstaclePicking, LeftClickCentresTheObstacle)
{
    const Obstacle a = ObstacleCentredOn(10, 10, 20, 20, 1);
    EXPECT_EQ(a.isEllipse, 1);
    EXPECT_EQ(a.x, 0);
    EXPECT_EQ(a.y, 0);
    EXPECT_EQ(a.width, 20);
    EXPECT_EQ(a.height, 20);
    const Obstacle b = ObstacleCentredOn(5, 5, 20, 20, 0);
    EXPECT_EQ(b.isEllipse, 0);
    EXPECT_EQ(b.x, -5);
    EXPECT_EQ(b.y, -5);
    // Odd size 21 on cell 10 covers cells 0 to 20; any non-zero shape is an ellipse.
    const Obstacle c = ObstacleCentredOn(10, 10, 21, 7, 5);
    EXPECT_EQ(c.isEllipse, 1);
    EXPECT_EQ(c.x, 0);
    EXPECT_EQ(c.y, 7);
}

TEST(ObstaclePicking, RightClickHitsTheFirstObstacleWithInclusiveBounds)
{
    ListHolder sim;
    sim.AddObstacle({0, 10, 10, 5, 5});  // first
    sim.AddObstacle({1, 12, 12, 5, 5});  // overlaps the first
    const auto& list = sim.Obstacles();

    EXPECT_EQ(FirstObstacleHit(list, 13, 13), list.begin());
    // One column and one row past the rectangle still count.
    EXPECT_EQ(FirstObstacleHit(list, 15, 15), list.begin());
    EXPECT_EQ(FirstObstacleHit(list, 16, 16), std::next(list.begin()));
    EXPECT_EQ(FirstObstacleHit(list, 17, 17), std::next(list.begin()));
    EXPECT_EQ(FirstObstacleHit(list, 18, 12), list.end());
    EXPECT_EQ(FirstObstacleHit(list, 9, 10), list.end());
    // An ellipse is hit anywhere in its rectangle, corners included.
    EXPECT_EQ(FirstObstacleHit(list, 17, 12), std::next(list.begin()));

    ListHolder extreme;
    extreme.AddObstacle({0, 2147483000, 0, 2147483000, 1});
    EXPECT_EQ(FirstObstacleHit(extreme.Obstacles(), 5, 0), extreme.Obstacles().end());
}
