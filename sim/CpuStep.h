// One lattice time step on the processor, as free functions over plain
// arrays so that tests and benchmarks need no simulator object and no GL.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "sim/Collision.h"
#include "sim/Lattice.h"

struct CpuStepArgs {
    const LatticeCell* current;  // read only
    LatticeCell* other;          // receives the interior cells
    const int32_t* obstacleMask; // W*H, non-zero for obstacle cells
    int W;
    int H;
    float omega;
    CollisionModel model = CollisionModel::Bgk;
};

// The largest float not above the empty-density bound: for every float rho,
// |rho| > kEmptyDensityBelow decides exactly as !d2q9::IsEmptyDensity(rho),
// so vector code can compare in floats and still pick the same cells.
inline constexpr float kEmptyDensityBelow = [] {
    const float nearest = static_cast<float>(d2q9::kDensityEpsilon);
    if (static_cast<double>(nearest) <= d2q9::kDensityEpsilon)
        return nearest;
    return std::bit_cast<float>(std::bit_cast<uint32_t>(nearest) - 1u);
}();

// The reference: the plain sequential loop, one cell at a time, bottom row
// first.  Every faster variant must produce the same bits.
void StepReference(const CpuStepArgs& args);

// The update of one pulled cell, in place: bounce-back for an obstacle cell,
// else the collision.  False for an empty cell, which is not written at all.
// Every cell update of every variant that works one cell at a time goes
// through here.  The model is a template parameter so that the Bgk update
// stays exactly the plain loop it always was.
template <CollisionModel Model = CollisionModel::Bgk>
inline bool UpdateCell(LatticeCell& f, bool obstacle, float omega)
{
    if (obstacle) {
        auto swap = [&f](int p, int q) { float t = f.f[p]; f.f[p] = f.f[q]; f.f[q] = t; };
        swap(1, 3);
        swap(2, 4);
        swap(5, 7);
        swap(6, 8);
        return true;
    }

    const Macroscopic m = ComputeMacroscopic(f);
    if (d2q9::IsEmptyDensity(m.rho))
        return false;
    const LatticeCell eq = ComputeEquilibrium(m.rho, m.ux, m.uy);
    if constexpr (Model == CollisionModel::Smagorinsky) {
        omega = SmagorinskyOmega(f, eq, m.rho, SmagorinskyTau0(omega));
        float out[9];
        bool negative = false;
        for (int i = 0; i < 9; ++i) {
            out[i] = Relaxed(f.f[i], eq.f[i], omega);
            negative = negative || out[i] < 0.0f;
        }
        if (negative)
            RelaxPositive(f, eq, omega, out);
        for (int i = 0; i < 9; ++i)
            f.f[i] = out[i];
        return true;
    }
    for (int i = 0; i < 9; ++i)
        f.f[i] = f.f[i] + omega * (eq.f[i] - f.f[i]);
    return true;
}

// Update of one interior cell c = y*W + x; shared by the reference loop and
// by the scalar tails of faster variants; a.model is the caller's to honour
// through Model.
template <CollisionModel Model>
inline void StepCell(const CpuStepArgs& a, int c)
{
    LatticeCell f;
    for (int i = 0; i < 9; ++i)
        f.f[i] = a.current[c - (d2q9::kEx[i] + d2q9::kEy[i] * a.W)].f[i];
    if (UpdateCell<Model>(f, a.obstacleMask[c] != 0, a.omega))
        a.other[c] = f;
}

// Calls fn with the collision model as a compile-time constant, so that a
// loop over cells decides once and not per cell.
template <typename Fn>
inline void WithCollisionModel(CollisionModel model, Fn&& fn)
{
    if (model == CollisionModel::Smagorinsky)
        fn(std::integral_constant<CollisionModel, CollisionModel::Smagorinsky>{});
    else
        fn(std::integral_constant<CollisionModel, CollisionModel::Bgk>{});
}

// Cells xBegin .. xEnd-1 of interior row y, one at a time: the rows of the
// scalar path of the fast step (any processor).
void StepRowSpan(const CpuStepArgs& args, int y, int xBegin, int xEnd);

// One step over lattices kept as one plane per direction (CpuStepLattice):
// cell (x, y) of direction i at current[i][y * pitch + x].  The mask is the
// same W*H array in cell order as for CpuStepArgs.
struct CpuPlaneStepArgs {
    const float* current[9];  // read only
    float* other[9];          // receives the interior cells
    const int32_t* obstacleMask;
    int W;
    int H;
    ptrdiff_t pitch;
    float omega;
    CollisionModel model = CollisionModel::Bgk;
};

