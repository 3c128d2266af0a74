// The solver that keeps both lattices in main memory.  It keeps them as one
// plane per direction (CpuStepLattice), the layout its step streams through;
// cells are put into cell order only where they leave the solver.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sim/CpuFieldDrawing.h"
#include "sim/CpuStepLattice.h"
#include "sim/CpuStepper.h"
#include "sim/LbmSimulator.h"
#include "sim/ViewModes.h"

class CpuLbmSimulator : public LbmSimulator {
public:
    // Pictures go through drawing; without one the solver only steps.
    // stepping chooses the threads and kernels; the default suits the machine.
    CpuLbmSimulator(int W, int H, std::unique_ptr<CpuFieldDrawing> drawing = nullptr, CpuStepOptions stepping = {});
    ~CpuLbmSimulator() override;

    void Step(int iterations) override;
    void ResetFlow(float ux, float uy) override;
    void SetBoundaryVelocity(float ux, float uy) override;
    void SetViscosity(float nu) override;
    // Needs a drawing, and the drawing a context.
    void RenderVelocity(float brightness, DrawRect rect) override;
    void RenderDensity(float bias, float scale, DrawRect rect) override;
    void RenderVorticity(float scale, DrawRect rect) override;
    void RenderSpeed(float scale, DrawRect rect) override;
    bool FetchGridState(float* dst, int sizeInBytes) override;
    // Staged by the picture's vector pass on the stepping threads.
    bool FetchVelocityField(float* dst, size_t floats) override;
    void AddObstacle(const Obstacle& obstacle) override;
    void RemoveObstacle(ObstaclePosition position) override;
    void ClearObstacles() override;
    bool LoadGridState(const float* src, int sizeInBytes) override;
    void AddObstacles(const std::vector<Obstacle>& list) override;
    bool BlownUp() override;

    int Width() const { return W; }
    int Height() const { return H; }
    float RelaxationCoefficient() const { return relaxationCoefficient; }
    const LatticeCell& BoundaryCell() const { return boundaryCell; }
    const std::vector<int32_t>& ObstacleMask() const { return obstacleMask; }
    // Copies of the two lattices in cell order, for inspection: one buffer
    // per physical lattice, refreshed by each call and valid until the next
    // call for that lattice, so that the pointers still show which of them
    // is current.
    const LatticeCell* Current() const { return CellCopy(current); }
    const LatticeCell* Other() const { return CellCopy(1 - current); }

private:
    // The velocity texels of the current lattice for a picture of mode;
    // nullptr when that picture cannot be drawn.
    float* StageTexels(ViewMode mode);
    void RenderField(ViewMode mode, float bias, float scale, DrawRect rect);
    void RebuildObstacleMask();
    const LatticeCell* CellCopy(int lattice) const;
    void EnterCells(const float* cells);

    CpuStepLattice lattices[2];
    int current = 0;  // the other lattice is 1 - current
    mutable std::vector<LatticeCell> cellCopies[2];
    std::vector<float> fieldTexels;  // (ux, uy, rho, 0) per cell, for FetchVelocityField
    std::vector<int32_t> obstacleMask;
    float relaxationCoefficient = 0.0f;
    LatticeCell boundaryCell{};
    int W = 0;
    int H = 0;
    std::unique_ptr<CpuStepper> stepper;  // vector kernels and the worker thread
    std::unique_ptr<CpuFieldDrawing> drawing;
};
