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
    for (size_t n = 0; n < count; ++n) {
        const Macroscopic m = ComputeMacroscopic(cells[n]);
        dst[3 * n] = m.ux;
        dst[3 * n + 1] = m.uy;
        dst[3 * n + 2] = m.rho;
    }
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
