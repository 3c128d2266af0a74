// The D2Q9 lattice shared by both solvers, the visualisation and the dump:
// the direction table, the per-cell record, obstacles and the two formulas.
//
// Everything here is evaluated in 32-bit floats in a fixed order.  The kernels
// are built with -ffp-contract=off so that the plain loop, the vectorised
// step and every thread count produce the same bits.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

// Nine distribution values in the order of the direction table; 36 bytes.
struct LatticeCell {
    float f[9];
};
static_assert(sizeof(LatticeCell) == 36);

// Five 32-bit integers; the rectangle may reach outside the grid.
struct Obstacle {
    int32_t isEllipse;
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};
static_assert(sizeof(Obstacle) == 20);

// Picture rectangle in pixels of the drawing area, origin lower-left.
struct DrawRect {
    float xmin, xmax, ymin, ymax;
};

namespace d2q9 {
inline constexpr int kEx[9] = {0, 1, 0, -1, 0, 1, -1, -1, 1};
inline constexpr int kEy[9] = {0, 0, 1, 0, -1, 1, 1, -1, -1};
inline constexpr float kWeight[9] = {
    0.44444445f, 0.11111111f, 0.11111111f, 0.11111111f, 0.11111111f,
    0.027777778f, 0.027777778f, 0.027777778f, 0.027777778f};
inline constexpr int kOpposite[9] = {0, 3, 4, 1, 2, 7, 8, 5, 6};

// A density within this band is treated as empty: no division, no write.
inline constexpr double kDensityEpsilon = 1e-8;
inline bool IsEmptyDensity(float rho) { return !(rho < -kDensityEpsilon || rho > kDensityEpsilon); }

// The values of any flow stay within a few times the rest density.  A
// diverging one passes this bound within a few steps, and then grows to
// infinity, or, where the relaxation rate of a cell falls towards 0, may
// stay large and finite for ever: either way it has blown up.
inline constexpr float kBlownUpMagnitude = 1000.0f;
// On the bits of the magnitude: positive floats order as their bit patterns
// do, infinities and NaNs above every finite one, and integer compares let
// the compiler vectorise a pass over a whole lattice.
inline bool IsBlownUpValue(float f)
{
    return (std::bit_cast<uint32_t>(f) & 0x7FFFFFFFu) > std::bit_cast<uint32_t>(kBlownUpMagnitude);
}

// Whether any of n values is blown up: one branch-free pass instead of a
// test per value, in blocks of a fixed length so that the compiler
// vectorises them without a remainder loop.
inline bool AnyBlownUpValue(const float* v, size_t n)
{
    constexpr size_t kBlock = 16;
    int32_t blownUp = 0;  // a bool here would keep the loop scalar
    size_t i = 0;
    for (; i + kBlock <= n; i += kBlock)
        for (size_t j = 0; j < kBlock; ++j)
            blownUp |= IsBlownUpValue(v[i + j]) ? 1 : 0;
    for (; i < n; ++i)
        blownUp |= IsBlownUpValue(v[i]) ? 1 : 0;
    return blownUp != 0;
}
}  // namespace d2q9

struct Macroscopic {
    float rho;
    float ux;
    float uy;
};

// f_i^eq = rho * w_i * (1 + 3 e.u + 4.5 (e.u)^2 - 1.5 u.u), in floats.
inline LatticeCell ComputeEquilibrium(float rho, float ux, float uy)
{
    LatticeCell cell;
    const float usq = ux * ux + uy * uy;
    for (int i = 0; i < 9; ++i) {
        const float eu = static_cast<float>(d2q9::kEx[i]) * ux + static_cast<float>(d2q9::kEy[i]) * uy;
        cell.f[i] = rho * d2q9::kWeight[i] * (1.0f + 3.0f * eu + 4.5f * eu * eu - 1.5f * usq);
    }
    return cell;
}

// Momentum, density and velocity; an empty density leaves the momentum
// undivided so that nothing divides by (almost) zero.
inline Macroscopic ComputeMacroscopic(const LatticeCell& c)
{
    const float* f = c.f;
    const float jx = f[1] - f[3] + f[5] - f[6] - f[7] + f[8];
    const float jy = f[2] - f[4] + f[5] + f[6] - f[7] - f[8];
    const float rho = f[0] + f[1] + f[2] + f[3] + f[4] + f[5] + f[6] + f[7] + f[8];
    if (d2q9::IsEmptyDensity(rho))
        return {rho, jx, jy};
    return {rho, jx / rho, jy / rho};
}

// The velocity field of count cells: (ux, uy, rho) of each, in order.
inline void ComputeVelocityField(const LatticeCell* cells, size_t count, float* field)
{
    for (size_t n = 0; n < count; ++n) {
        const Macroscopic m = ComputeMacroscopic(cells[n]);
        field[3 * n] = m.ux;
        field[3 * n + 1] = m.uy;
        field[3 * n + 2] = m.rho;
    }
}

// omega = 1 / (3 nu + 0.5), constants in double, stored as float.
inline float RelaxationFromViscosity(float nu)
{
    return static_cast<float>(1.0 / (3.0 * static_cast<double>(nu) + 0.5));
}
