// How a fluid cell relaxes towards its equilibrium after streaming.
//
// Bgk relaxes every cell at the one rate omega of the viscosity.  Near the
// editor's limits (inflow 0.2, invViscosity 5000: omega close to 2) that
// rate leaves the shortest waves undamped, and the flow blows up.
// Smagorinsky adds an eddy viscosity nu_t = (C * dx)^2 * |S| from each cell's
// own strain rate, which the non-equilibrium momentum flux
// Pi_ab = sum_i e_ia e_ib (f_i - feq_i) gives without looking at the
// neighbours.  Solving tau = tau0 + 3 nu_t(tau) for tau in closed form:
//
//   tau = (tau0 + sqrt(tau0^2 + 18 sqrt(2) C^2 |Pi| / rho)) / 2,
//   |Pi| = sqrt(Pi_xx^2 + Pi_yy^2 + 2 Pi_xy^2),   omega_cell = 1 / tau,
//
// with tau0 = 1 / omega.  Where the flow is smooth |Pi| is tiny and the cell
// relaxes as with Bgk; where a wave steepens, tau grows and damps it.
//
// The vector kernels (CpuStepKernelBlock.h) and the GPU program
// "cg/collideSmagorinsky_frag.cg" repeat SmagorinskyOmega operation by
// operation, so every solver rounds alike.
#pragma once

#include <cmath>
#include <cstdint>

#include "sim/Lattice.h"

enum class CollisionModel : int32_t {
    Bgk = 0,
    Smagorinsky = 1,
};

// The Smagorinsky constant C, chosen by measurement: the smallest of 0.15,
// 0.3, 0.4 and 0.5 with which the disc at inflow 0.2 and invViscosity 5000
// holds (bench/sim/stability_bench), while the disc's shedding period at
// Re 100 moves by about 5 % (bench/sim/collision_physics_bench; 2 % at 0.3).
// No constant up to 1 holds the field of obstacles at inflow 0.2 and
// invViscosity 5000: the flow between them reaches the speed of sound,
// which no added viscosity keeps on the lattice.
inline constexpr double kSmagorinskyConstant = 0.5;

// 18 sqrt(2) C^2, the factor of |Pi| / rho under the root, as every solver
// uses it.
inline constexpr float kSmagorinskyFactor =
    static_cast<float>(18.0 * 1.4142135623730951 * kSmagorinskyConstant * kSmagorinskyConstant);

// tau0 of the viscosity's own rate, as every solver derives it from omega.
inline float SmagorinskyTau0(float omega) { return 1.0f / omega; }

// The relaxation rate of one fluid cell with pulled values f, equilibrium eq
// and density rho (not empty).  The density enters by its magnitude: a cell
// driven to a negative density, on the way to blowing up, gets more damping
// instead of the root of a negative number.
inline float SmagorinskyOmega(const LatticeCell& f, const LatticeCell& eq, float rho, float tau0)
{
    float g[9];
    for (int i = 0; i < 9; ++i)
        g[i] = f.f[i] - eq.f[i];
    const float pxx = g[1] + g[3] + g[5] + g[6] + g[7] + g[8];
    const float pyy = g[2] + g[4] + g[5] + g[6] + g[7] + g[8];
    const float pxy = g[5] - g[6] + g[7] - g[8];
    const float pi = std::sqrt(pxx * pxx + pyy * pyy + 2.0f * (pxy * pxy));
    const float tau = 0.5f * (tau0 + std::sqrt(tau0 * tau0 + kSmagorinskyFactor * pi / std::fabs(rho)));
    return 1.0f / tau;
}
