#include "sim/LbmSimulator.h"

#include <limits>

LbmSimulator::~LbmSimulator() { obstacles.clear(); }

void LbmSimulator::RenderVelocity(float, DrawRect) {}

void LbmSimulator::RenderDensity(float, float, DrawRect) {}

bool LbmSimulator::FetchGridState(float*, int) { return false; }

bool LbmSimulator::FetchVelocityField(float* dst, size_t floats)
{
    const size_t count = floats / 3;
    if (floats % 3 != 0 || count == 0 || count > static_cast<size_t>(std::numeric_limits<int>::max()) / sizeof(LatticeCell))
        return false;
    std::vector<LatticeCell> cells(count);
    if (!FetchGridState(&cells[0].f[0], static_cast<int>(count * sizeof(LatticeCell))))
        return false;
    ComputeVelocityField(cells.data(), count, dst);
    return true;
}

void LbmSimulator::RenderVorticity(float, DrawRect) {}

void LbmSimulator::RenderSpeed(float, DrawRect) {}

void LbmSimulator::AddObstacle(const Obstacle& obstacle)
{
    obstacles.push_back(obstacle);
    ++obstacleRevision;
}

void LbmSimulator::RemoveObstacle(ObstaclePosition position)
{
    if (position == obstacles.cend())
        return;
    obstacles.erase(position);
    ++obstacleRevision;
}

void LbmSimulator::ClearObstacles()
{
    obstacles.clear();
    ++obstacleRevision;
}

bool LbmSimulator::LoadGridState(const float*, int) { return false; }

void LbmSimulator::AddObstacles(const std::vector<Obstacle>& list)
{
    for (const Obstacle& obstacle : list)
        AddObstacle(obstacle);
}

void LbmSimulator::SetCollisionModel(CollisionModel model) { collisionModel = model; }

bool LbmSimulator::BlownUp() { return false; }
