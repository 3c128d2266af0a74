// The solver that keeps both lattices in main memory.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sim/LbmSimulator.h"

class CpuRenderResources;
class CpuStepper;

class CpuLbmSimulator : public LbmSimulator {
public:
    CpuLbmSimulator(int W, int H);
    ~CpuLbmSimulator() override;

    void Step(int iterations) override;
    void ResetFlow(float ux, float uy) override;
    void SetBoundaryVelocity(float ux, float uy) override;
    void SetViscosity(float nu) override;
    // Needs a drawing context; the render resources are made on the first call.
    void RenderVelocity(float brightness, DrawRect rect) override;
    bool FetchGridState(float* dst, int sizeInBytes) override;
    void AddObstacle(const Obstacle& obstacle) override;
    void RemoveObstacle(ObstaclePosition position) override;
    void ClearObstacles() override;
    bool LoadGridState(const float* src, int sizeInBytes) override;
    void AddObstacles(const std::vector<Obstacle>& list) override;

    int Width() const { return W; }
    int Height() const { return H; }
    float RelaxationCoefficient() const { return relaxationCoefficient; }
    const LatticeCell& BoundaryCell() const { return boundaryCell; }
    const std::vector<int32_t>& ObstacleMask() const { return obstacleMask; }
    const LatticeCell* Current() const { return current; }
    const LatticeCell* Other() const { return other; }

private:
    void RebuildObstacleMask();
    void EnterCells(const float* cells);

    std::vector<LatticeCell> lattices[2];
    LatticeCell* current = nullptr;
    LatticeCell* other = nullptr;
    std::vector<int32_t> obstacleMask;
    float relaxationCoefficient = 0.0f;
    LatticeCell boundaryCell{};
    int W = 0;
    int H = 0;
    std::unique_ptr<CpuStepper> stepper;  // vector kernels and the worker thread
    std::unique_ptr<CpuRenderResources> renderResources;
};
