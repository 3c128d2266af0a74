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
// No added viscosity holds a flow squeezed between obstacles up to the
// lattice's speed of sound: there the relaxation overshoots the equilibrium
// so far that a value turns negative, and negative values feed on each
// other until the lattice blows up.  So Smagorinsky also guards positivity:
// a cell whose relaxed values would hold a negative one where the streamed
// value was not negative relaxes at the largest rate that keeps them all
// non-negative (PositiveOmega).  Such a cell lies where the grid no longer
// resolves the flow anyway: in the disc's street at Re 100, from its sudden
// start on, the guard acts on no cell at all.
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

// The Smagorinsky constant C, chosen by measurement: with the positivity
// guard every corner of the editor's range holds to 100000 steps at 0.3
// (bench/sim/stability_bench), and the disc's shedding period at Re 100
// moves by 2 % against Bgk, the Poiseuille profile by 0.1 %
// (bench/sim/collision_physics_bench).  Without the guard the disc at
// inflow 0.2 and invViscosity 5000 needed 0.5, which moved the period by
// 5 %, and no constant held the field of obstacles there.
inline constexpr double kSmagorinskyConstant = 0.3;

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

// The relaxation f + omega (eq - f) of one value, as every solver rounds it.
inline float Relaxed(float f, float eq, float omega) { return f + omega * (eq - f); }

// The largest rate up to omega at which no value that is not negative
// relaxes below zero: f - omega (f - eq) >= 0 while omega <= f / (f - eq).
// A value already negative bounds nothing; no rate can mend it.
inline float PositiveOmega(const LatticeCell& f, const LatticeCell& eq, float omega)
{
    for (int i = 0; i < 9; ++i) {
        const float g = f.f[i] - eq.f[i];
        if (g > 0.0f && f.f[i] >= 0.0f) {
            const float limit = f.f[i] / g;
            if (limit < omega)
                omega = limit;
        }
    }
    return omega;
}

// The Smagorinsky relaxation of one fluid cell into out, with its guard:
// omega is the cell's SmagorinskyOmega.  The vector kernels repeat it
// operation by operation for the lanes whose plain relaxation went negative.
inline void RelaxPositive(const LatticeCell& f, const LatticeCell& eq, float omega, float out[9])
{
    const float limited = PositiveOmega(f, eq, omega);
    for (int i = 0; i < 9; ++i)
        out[i] = Relaxed(f.f[i], eq.f[i], limited);
}
