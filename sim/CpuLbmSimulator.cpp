#include "sim/CpuLbmSimulator.h"

#include "sim/CpuStep.h"
#include "sim/CpuStepper.h"
#include "sim/ObstacleMask.h"
#include "sim/VelocityStaging.h"

#include <utility>

namespace {

// Half a page apart: loads from one lattice and stores to the other then
// rarely share an L1 set or the low address bits that make a load wait for
// an unrelated store.
constexpr int kSecondLatticeSkew = 32;

}  // namespace

CpuLbmSimulator::CpuLbmSimulator(int width, int height, std::unique_ptr<CpuFieldDrawing> fieldDrawing,
                                 CpuStepOptions stepping)
    : lattices{{width, height, 0}, {width, height, kSecondLatticeSkew}},
      W(width),
      H(height),
      drawing(std::move(fieldDrawing))
{
    const size_t cells = static_cast<size_t>(W) * static_cast<size_t>(H);
    obstacleMask.assign(cells, 0);
    stepper = std::make_unique<CpuStepper>(W, H, stepping);
}

CpuLbmSimulator::~CpuLbmSimulator() = default;

void CpuLbmSimulator::Step(int iterations)
{
    for (int n = 0; n < iterations; ++n) {
        stepper->Step(lattices[current], lattices[1 - current], obstacleMask.data(), relaxationCoefficient,
                      collisionModel);
        current = 1 - current;
    }
}

void CpuLbmSimulator::ResetFlow(float ux, float uy)
{
    lattices[current].Fill(ComputeEquilibrium(1.0f, ux, uy));
}

void CpuLbmSimulator::SetBoundaryVelocity(float ux, float uy)
{
    boundaryCell = ComputeEquilibrium(1.0f, ux, uy);
    for (CpuStepLattice& lattice : lattices)
        lattice.SetFrame(boundaryCell);
}

float* CpuLbmSimulator::StageTexels(ViewMode mode)
{
    if (!drawing)
        return nullptr;
    float* texels = drawing->VelocityTexels(W, H, mode);
    if (!texels)
        return nullptr;
    const CpuStepLattice* lattice = &lattices[current];
    const CpuIsa isa = stepper->Isa();
    stepper->ForEachSpan(static_cast<size_t>(W) * static_cast<size_t>(H), [=](size_t first, size_t last) {
        StageVelocities(*lattice, first, last, texels, isa);
    });
    return texels;
}

void CpuLbmSimulator::RenderVelocity(float brightness, DrawRect rect)
{
    if (StageTexels(ViewMode::Velocity))
        drawing->DrawVelocities(brightness, rect);
}

// Every scalar view colours the same texels as the velocity picture; only
// the program differs, and the vorticity's fourth value.
void CpuLbmSimulator::RenderField(ViewMode mode, float bias, float scale, DrawRect rect)
{
    float* texels = StageTexels(mode);
    if (!texels)
        return;
    if (mode == ViewMode::Vorticity) {
        const int32_t* mask = obstacleMask.data();
        const int width = W, height = H;
        stepper->ForEachSpan(static_cast<size_t>(W) * static_cast<size_t>(H), [=](size_t first, size_t last) {
            StageVorticity(texels, mask, width, height, first, last);
        });
    }
    drawing->DrawField(mode, bias, scale, rect, obstacleMask, ObstacleRevision());
}

void CpuLbmSimulator::RenderDensity(float bias, float scale, DrawRect rect)
{
    RenderField(ViewMode::Density, bias, scale, rect);
}

void CpuLbmSimulator::RenderVorticity(float scale, DrawRect rect) { RenderField(ViewMode::Vorticity, 0.0f, scale, rect); }

void CpuLbmSimulator::RenderSpeed(float scale, DrawRect rect) { RenderField(ViewMode::Speed, 0.0f, scale, rect); }

void CpuLbmSimulator::SetViscosity(float nu) { relaxationCoefficient = RelaxationFromViscosity(nu); }

bool CpuLbmSimulator::BlownUp() { return lattices[current].AnyBlownUp(); }

bool CpuLbmSimulator::FetchGridState(float* dst, int sizeInBytes)
{
    const int64_t expected = int64_t{W} * H * int64_t{sizeof(LatticeCell)};
    if (dst == nullptr || sizeInBytes != expected)
        return false;
    // Shared with the stepping threads: a study reads the lattice back while
    // they wait.
    const CpuStepLattice* lattice = &lattices[current];
    auto* cells = reinterpret_cast<LatticeCell*>(dst);
    stepper->ForEachSpan(static_cast<size_t>(H), [=](size_t first, size_t last) {
        lattice->CopyRowsTo(cells, static_cast<int>(first), static_cast<int>(last));
    });
    return true;
}

bool CpuLbmSimulator::FetchVelocityField(float* dst, size_t floats)
{
    const size_t cells = static_cast<size_t>(W) * static_cast<size_t>(H);
    if (dst == nullptr || floats != cells * 3)
        return false;
    fieldTexels.resize(cells * 4);
    const CpuStepLattice* lattice = &lattices[current];
    float* texels = fieldTexels.data();
    const CpuIsa isa = stepper->Isa();
    stepper->ForEachSpan(cells, [=](size_t first, size_t last) {
        StageVelocities(*lattice, first, last, texels, isa);
        for (size_t n = first; n < last; ++n) {
            dst[3 * n] = texels[4 * n];
            dst[3 * n + 1] = texels[4 * n + 1];
            dst[3 * n + 2] = texels[4 * n + 2];
        }
    });
    return true;
}

const LatticeCell* CpuLbmSimulator::CellCopy(int lattice) const
{
    std::vector<LatticeCell>& copy = cellCopies[lattice];
    copy.resize(static_cast<size_t>(W) * static_cast<size_t>(H));
    lattices[lattice].CopyTo(copy.data());
    return copy.data();
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
    lattices[current].CopyFrom(reinterpret_cast<const LatticeCell*>(cells));
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
