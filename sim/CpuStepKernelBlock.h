// One block of L cells held as nine direction vectors: the pull, the moments
// and the collision and bounce-back, shared by every vector kernel whatever
// layout it loads the cells from.  A lane repeats UpdateCell operation by
// operation, so its results are bit-identical to the plain loop; a change of
// the collision model belongs in UpdateBlock and UpdateCell, together.
//
// Only templates, in an anonymous namespace, over the vector operations of
// CpuStepKernelVector.h.
#pragma once

#include "sim/CpuStep.h"

namespace {
namespace soa {

template <class V>
struct BlockMoments {
    typename V::Vec jx, jy, rho;
};

// Momentum and density as ComputeMacroscopic sums them, term by term.
template <class V>
[[gnu::always_inline]] inline BlockMoments<V> Moments(const typename V::Vec f[9])
{
    BlockMoments<V> m;
    m.jx = V::Add(V::Sub(V::Sub(V::Add(V::Sub(f[1], f[3]), f[5]), f[6]), f[7]), f[8]);
    m.jy = V::Sub(V::Sub(V::Add(V::Add(V::Sub(f[2], f[4]), f[5]), f[6]), f[7]), f[8]);
    m.rho = f[0];
#pragma GCC unroll 16
    for (int i = 1; i < 9; ++i)
        m.rho = V::Add(m.rho, f[i]);
    return m;
}

// The rate of each lane under Smagorinsky, as SmagorinskyOmega computes it.
template <class V>
[[gnu::always_inline]] inline typename V::Vec SmagorinskyBlockOmega(const typename V::Vec f[9],
                                                                   const typename V::Vec eq[9],
                                                                   typename V::Vec rho, typename V::Vec omega)
{
    using Vec = typename V::Vec;
    Vec g[9];
#pragma GCC unroll 16
    for (int i = 0; i < 9; ++i)
        g[i] = V::Sub(f[i], eq[i]);
    const Vec pxx = V::Add(V::Add(V::Add(V::Add(V::Add(g[1], g[3]), g[5]), g[6]), g[7]), g[8]);
    const Vec pyy = V::Add(V::Add(V::Add(V::Add(V::Add(g[2], g[4]), g[5]), g[6]), g[7]), g[8]);
    const Vec pxy = V::Sub(V::Add(V::Sub(g[5], g[6]), g[7]), g[8]);
    const Vec pi = V::Sqrt(V::Add(V::Add(V::Mul(pxx, pxx), V::Mul(pyy, pyy)), V::Mul(V::Set(2.0f), V::Mul(pxy, pxy))));
    // Loop-invariant: hoisted out of the row by the compiler.
    const Vec tau0 = V::Div(V::Set(1.0f), omega);
    const Vec root = V::Sqrt(V::Add(V::Mul(tau0, tau0), V::Div(V::Mul(V::Set(kSmagorinskyFactor), pi), V::Abs(rho))));
    return V::Div(V::Set(1.0f), V::Mul(V::Set(0.5f), V::Add(tau0, root)));
}

// Collision or bounce-back of L pulled cells; returns the lanes to write,
// among `lanes` (the others, the frame and beyond, are never stored, and
// their made-up values must not send a block down the guard's path).
template <class V, CollisionModel Model>
[[gnu::always_inline]] inline unsigned UpdateBlock(typename V::Vec f[9], typename V::Mask obstacle,
                                                   typename V::Vec omega, typename V::Vec out[9], unsigned lanes)
{
    using Vec = typename V::Vec;
    const auto [jx, jy, rho] = Moments<V>(f);
    const unsigned obstacleBits = V::Bits(obstacle);
    const unsigned written = (obstacleBits | V::Bits(V::AbsGreater(rho, V::Set(kEmptyDensityBelow)))) & lanes;
    if (written == 0)
        return 0;

    // Empty lanes divide by (almost) zero here; they are never stored.
    const Vec ux = V::Div(jx, rho);
    const Vec uy = V::Div(jy, rho);
    const Vec s = V::Mul(V::Set(1.5f), V::Add(V::Mul(ux, ux), V::Mul(uy, uy)));

    // e.u as ex*ux + ey*uy; the zero products keep non-finite velocities
    // behaving as in the plain loop.  Opposite directions have e.u of
    // opposite sign and share 3 e.u and 4.5 (e.u)^2 exactly.
    const Vec one = V::Set(1.0f);
    const Vec three = V::Set(3.0f);
    const Vec fourHalf = V::Set(4.5f);
    const Vec zx = V::Mul(V::Set(0.0f), ux);
    const Vec zy = V::Mul(V::Set(0.0f), uy);
    const Vec eu0 = V::Add(zx, zy);
    const Vec eu[4] = {V::Add(ux, zy), V::Add(zx, uy), V::Add(ux, uy), V::Sub(uy, ux)};
    constexpr int kPlus[4] = {1, 2, 5, 6};
    constexpr int kMinus[4] = {3, 4, 7, 8};
    const Vec rw0 = V::Mul(rho, V::Set(d2q9::kWeight[0]));
    const Vec rw1 = V::Mul(rho, V::Set(d2q9::kWeight[1]));
    const Vec rw5 = V::Mul(rho, V::Set(d2q9::kWeight[5]));

    Vec eq[9];
    eq[0] = V::Mul(rw0, V::Sub(V::Add(V::Add(one, V::Mul(three, eu0)), V::Mul(V::Mul(fourHalf, eu0), eu0)), s));
#pragma GCC unroll 16
    for (int k = 0; k < 4; ++k) {
        const Vec m = V::Mul(three, eu[k]);
        const Vec q = V::Mul(V::Mul(fourHalf, eu[k]), eu[k]);
        const Vec rw = k < 2 ? rw1 : rw5;
        eq[kPlus[k]] = V::Mul(rw, V::Sub(V::Add(V::Add(one, m), q), s));
        eq[kMinus[k]] = V::Mul(rw, V::Sub(V::Add(V::Sub(one, m), q), s));
    }
    if constexpr (Model == CollisionModel::Smagorinsky)
        omega = SmagorinskyBlockOmega<V>(f, eq, rho, omega);
#pragma GCC unroll 16
    for (int i = 0; i < 9; ++i)
        out[i] = V::Add(f[i], V::Mul(omega, V::Sub(eq[i], f[i])));
    if constexpr (Model == CollisionModel::Smagorinsky) {
        // The positivity guard as RelaxPositive takes it, for the lanes with
        // a negative value only: the others keep their bits.
        const Vec zero = V::Set(0.0f);
        auto negative = V::Less(out[0], zero);
#pragma GCC unroll 16
        for (int i = 1; i < 9; ++i)
            negative = V::MaskOr(negative, V::Less(out[i], zero));
        if ((V::Bits(negative) & written & ~obstacleBits) != 0) [[unlikely]] {
            Vec limited = omega;
#pragma GCC unroll 16
            for (int i = 0; i < 9; ++i) {
                const Vec g = V::Sub(f[i], eq[i]);
                const Vec limit = V::Div(f[i], g);
                const auto lower = V::MaskAnd(V::MaskAnd(V::Less(zero, g), V::LessEqual(zero, f[i])),
                                              V::Less(limit, limited));
                limited = V::Select(lower, limited, limit);
            }
#pragma GCC unroll 16
            for (int i = 0; i < 9; ++i)
                out[i] = V::Select(negative, out[i], V::Add(f[i], V::Mul(limited, V::Sub(eq[i], f[i]))));
        }
    }

    if (obstacleBits != 0) {
#pragma GCC unroll 16
        for (int i = 0; i < 9; ++i)
            out[i] = V::Select(obstacle, out[i], f[d2q9::kOpposite[i]]);
    }
    return written;
}

// Pulls the L cells from column x0 on out of the nine sources (each already
// shifted by its direction's offset), then updates them; returns the lanes to
// write, among `interior`.
template <class V, CollisionModel Model>
[[gnu::always_inline]] inline unsigned PullAndUpdate(const float* const src[9], const int32_t* maskRow, int x0,
                                                     unsigned interior, typename V::Vec omega,
                                                     typename V::Vec out[9])
{
    constexpr unsigned kAll = (1u << V::kLanes) - 1u;
    typename V::Vec f[9];
#pragma GCC unroll 16
    for (int i = 0; i < 9; ++i)
        f[i] = V::Load(src[i] + x0);
    const auto obstacle = interior == kAll ? V::NonZero(maskRow + x0) : V::NonZero(maskRow + x0, interior);
    return UpdateBlock<V, Model>(f, obstacle, omega, out, interior);
}

}  // namespace soa
}  // namespace
