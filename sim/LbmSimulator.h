// The interface through which the shell drives either solver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

#include "sim/Collision.h"
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
    // (rho - bias) * scale on the diverging map, white at zero; obstacle
    // cells grey.  Draws nothing by default.
    virtual void RenderDensity(float bias, float scale, DrawRect rect);
    virtual bool FetchGridState(float* dst, int sizeInBytes);
    // The velocity field of the current lattice: (ux, uy, rho) per cell in
    // cell order, with the bits of ComputeMacroscopic, into floats = W * H *
    // 3 values.  False, with dst untouched, for another size or a solver
    // that refuses its lattice.  By default the lattice is read back whole
    // and the field computed cell by cell.
    virtual bool FetchVelocityField(float* dst, size_t floats);
    virtual void AddObstacle(const Obstacle& obstacle);
    virtual void RemoveObstacle(ObstaclePosition position);
    virtual void ClearObstacles();
    // The counterpart of FetchGridState: W * H cells in cell order become
    // the current lattice, frame cells included.  False, with nothing
    // changed, when sizeInBytes is not W * H * 36 or the solver cannot run.
    virtual bool LoadGridState(const float* src, int sizeInBytes);
    // Appends every obstacle in order, as AddObstacle does one by one; a
    // solver that derives state from the list does so once for the set.
    virtual void AddObstacles(const std::vector<Obstacle>& list);
    // How fluid cells relax, from the next step on; Bgk until it is called.
    virtual void SetCollisionModel(CollisionModel model);
    // True when the current lattice holds a value that is not finite or is
    // beyond d2q9::kBlownUpMagnitude: the flow has blown up.  One pass over
    // the lattice (on the GPU a read-back), so callers ask about once a
    // second.  A solver that cannot tell answers false.
    virtual bool BlownUp();
    // The curl of the velocity (central differences, obstacle neighbours
    // counting as at rest) times scale on the diverging map; obstacle cells
    // grey.  Draws nothing by default.
    virtual void RenderVorticity(float scale, DrawRect rect);
    // |u| times scale on the sequential map; obstacle cells grey.  Draws
    // nothing by default.
    virtual void RenderSpeed(float scale, DrawRect rect);

    const ObstacleList& Obstacles() const { return obstacles; }
    // Changes with every change of the obstacle list, so that what is
    // derived from the list for drawing is rebuilt only when it is stale.
    uint64_t ObstacleRevision() const { return obstacleRevision; }
    CollisionModel Collision() const { return collisionModel; }

protected:
    ObstacleList obstacles;
    CollisionModel collisionModel = CollisionModel::Bgk;

private:
    uint64_t obstacleRevision = 0;
};
