#include "sim/CpuLbmSimulator.h"

#include <cstring>
#include <utility>

#include "sim/CpuRenderResources.h"
#include "sim/CpuStep.h"
#include "sim/CpuStepper.h"
#include "sim/ObstacleMask.h"
#include "sim/VelocityStaging.h"

CpuLbmSimulator::CpuLbmSimulator(int width, int height)
    : W(width), H(height)
{
    const size_t cells = static_cast<size_t>(W) * static_cast<size_t>(H);
    lattices[0].assign(cells, LatticeCell{});
    lattices[1].assign(cells, LatticeCell{});
    current = lattices[0].data();
    other = lattices[1].data();
    obstacleMask.assign(cells, 0);
    stepper = std::make_unique<CpuStepper>(W, H);
}

CpuLbmSimulator::~CpuLbmSimulator() = default;

void CpuLbmSimulator::Step(int iterations)
{
    for (int n = 0; n < iterations; ++n) {
        stepper->Step({current, other, obstacleMask.data(), W, H, relaxationCoefficient});
        std::swap(current, other);
    }
}

void CpuLbmSimulator::ResetFlow(float ux, float uy)
{
    const LatticeCell cell = ComputeEquilibrium(1.0f, ux, uy);
    const size_t cells = static_cast<size_t>(W) * static_cast<size_t>(H);
    for (size_t n = 0; n < cells; ++n)
        current[n] = cell;
}

void CpuLbmSimulator::SetBoundaryVelocity(float ux, float uy)
{
    boundaryCell = ComputeEquilibrium(1.0f, ux, uy);
    for (LatticeCell* lattice : {current, other}) {
        for (int x = 0; x < W; ++x) {
            lattice[x] = boundaryCell;
            lattice[(H - 1) * W + x] = boundaryCell;
        }
        for (int y = 1; y <= H - 2; ++y) {
            lattice[y * W] = boundaryCell;
            lattice[y * W + W - 1] = boundaryCell;
        }
    }
}

void CpuLbmSimulator::RenderVelocity(float brightness, DrawRect rect)
{
    if (!renderResources)
        renderResources = std::make_unique<CpuRenderResources>();
    float* texels = renderResources->VelocityTexels(W, H);
    if (!texels)
        return;
    const LatticeCell* lattice = current;
    stepper->ForEachSpan(static_cast<size_t>(W) * static_cast<size_t>(H), [=](size_t first, size_t last) {
        StageVelocities(lattice, first, last, texels);
    });
    renderResources->DrawVelocities(brightness, rect);
}

void CpuLbmSimulator::SetViscosity(float nu) { relaxationCoefficient = RelaxationFromViscosity(nu); }

bool CpuLbmSimulator::FetchGridState(float* dst, int sizeInBytes)
{
    const int64_t expected = int64_t{W} * H * int64_t{sizeof(LatticeCell)};
    if (dst == nullptr || sizeInBytes != expected)
        return false;
    std::memcpy(dst, current, static_cast<size_t>(expected));
    return true;
}

bool CpuLbmSimulator::LoadGridState(const float* src, int sizeInBytes)
{
    const int64_t expected = int64_t{W} * H * int64_t{sizeof(LatticeCell)};
    if (src == nullptr || sizeInBytes != expected)
        return false;
    EnterCells(src);
    return true;
}

// The one way in for whole lattices from outside: they arrive in cell order,
// nine values per cell, whatever layout the step works on.
void CpuLbmSimulator::EnterCells(const float* cells)
{
    std::memcpy(current, cells, static_cast<size_t>(W) * static_cast<size_t>(H) * sizeof(LatticeCell));
}

void CpuLbmSimulator::AddObstacles(const std::vector<Obstacle>& list)
{
    for (const Obstacle& obstacle : list)
        LbmSimulator::AddObstacle(obstacle);
    RebuildObstacleMask();
}

void CpuLbmSimulator::AddObstacle(const Obstacle& obstacle)
{
    LbmSimulator::AddObstacle(obstacle);
    RebuildObstacleMask();
}

void CpuLbmSimulator::RemoveObstacle(ObstaclePosition position)
{
    LbmSimulator::RemoveObstacle(position);
    RebuildObstacleMask();
}

void CpuLbmSimulator::ClearObstacles()
{
    LbmSimulator::ClearObstacles();
    RebuildObstacleMask();
}

void CpuLbmSimulator::RebuildObstacleMask() { BuildObstacleMask(obstacleMask, W, H, obstacles); }
