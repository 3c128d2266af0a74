#include "sim/LbmSimulator.h"

LbmSimulator::~LbmSimulator() { obstacles.clear(); }

void LbmSimulator::RenderVelocity(float, DrawRect) {}

void LbmSimulator::RenderDensity(float, float, DrawRect) {}

bool LbmSimulator::FetchGridState(float*, int) { return false; }

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
