// The picture's staging pass over a lattice kept as planes, vectorised over
// the operations of CpuStepKernelVector.h and instantiated by each
// instruction-set translation unit, plus
//   StoreTexels(out, ux, uy, rho)   4*L floats: (ux, uy, rho, 0) per lane
//
// A lane computes ComputeMacroscopic operation by operation (the empty
// density test through the float bound of CpuStep.h), so the texels carry
// the same bits as the per-cell pass.
#pragma once

#include <cstring>

#include "sim/CpuStep.h"
#include "sim/CpuStepKernelBlock.h"
#include "sim/CpuStepKernelVector.h"

namespace {
namespace soa {

template <class V>
inline void StageVelocityRow(const float* const planes[9], int xBegin, int xEnd, float* out)
{
    using Vec = typename V::Vec;
    constexpr int L = V::kLanes;
    const Vec bound = V::Set(kEmptyDensityBelow);
    for (int x = xBegin; x < xEnd; x += L, out += 4 * L) {
        Vec f[9];
#pragma GCC unroll 16
        for (int i = 0; i < 9; ++i)
            f[i] = V::Load(planes[i] + x);
        const auto [jx, jy, rho] = Moments<V>(f);
        // Empty lanes divide by (almost) zero here and keep the momentum.
        const auto divided = V::AbsGreater(rho, bound);
        const Vec ux = V::Select(divided, jx, V::Div(jx, rho));
        const Vec uy = V::Select(divided, jy, V::Div(jy, rho));
        if (x + L <= xEnd) {
            V::StoreTexels(out, ux, uy, rho);
        } else {
            alignas(64) float block[4 * L];
            V::StoreTexels(block, ux, uy, rho);
            std::memcpy(out, block, sizeof(float) * 4 * static_cast<size_t>(xEnd - x));
        }
    }
}

}  // namespace soa
}  // namespace
