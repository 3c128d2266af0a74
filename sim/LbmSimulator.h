// The interface through which the shell drives either solver.
#pragma once

#include <list>

#include "sim/Lattice.h"

class LbmSimulator {
public:
    using ObstacleList = std::list<Obstacle>;
    using ObstaclePosition = ObstacleList::const_iterator;

    LbmSimulator() = default;
    LbmSimulator(const LbmSimulator&) = delete;
    LbmSimulator& operator=(const LbmSimulator&) = delete;

    virtual ~LbmSimulator();
    virtual void Step(int iterations) = 0;
    virtual void ResetFlow(float ux, float uy) = 0;
    virtual void SetBoundaryVelocity(float ux, float uy) = 0;
    virtual void SetViscosity(float nu) = 0;
    virtual void RenderVelocity(float brightness, DrawRect rect);
    virtual void RenderDensity(float bias, float scale, DrawRect rect);
    virtual bool FetchGridState(float* dst, int sizeInBytes);
    virtual void AddObstacle(const Obstacle& obstacle);
    virtual void RemoveObstacle(ObstaclePosition position);
    virtual void ClearObstacles();

    const ObstacleList& Obstacles() const { return obstacles; }

protected:
    ObstacleList obstacles;
};
