// The vectorised step over lattices kept as one plane per direction
// (CpuStepLattice), instantiated by each instruction-set translation unit
// over the vector operations of CpuStepKernelVector.h.
//
// The pull is nine vector loads, shifted by the direction's offset; the cells
// need no rearrangement, so a block costs its arithmetic and its memory
// traffic and nothing else.  Blocks start at column 1, which the lattice
// places on a vector boundary: full blocks are stored aligned (and may bypass
// the cache), the last block of a row and blocks with empty cells store only
// the lanes they write.
#pragma once

#include <cstdint>

#include "sim/CpuStep.h"
#include "sim/CpuStepKernelBlock.h"
#include "sim/CpuStepKernelVector.h"
#include "sim/CpuStepKernels.h"

namespace {
namespace soa {

// With streaming stores the lattices are larger than the caches, and the
// loads wait for memory unless their lines are asked for ahead: the hardware
// prefetch tracks ten streams per core poorly when memory is slow or shared.
// 512 bytes ahead measured best; further gained nothing.
constexpr uintptr_t kPrefetchBytes = 512;

// The address is computed as an integer: ahead of the last row it points past
// the planes, which a prefetch may do and pointer arithmetic may not.
inline void PrefetchAhead(const void* p)
{
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(p) + kPrefetchBytes));
}

template <class V, bool Stream, CollisionModel Model>
inline void StepPlaneRow(const CpuPlaneStepArgs& a, int y)
{
    using Vec = typename V::Vec;
    constexpr int L = V::kLanes;
    constexpr unsigned kAll = (1u << L) - 1u;
    const int W = a.W;
    const float* src[9];
    float* dst[9];
#pragma GCC unroll 16
    for (int i = 0; i < 9; ++i) {
        src[i] = a.current[i] + (y - d2q9::kEy[i]) * a.pitch - d2q9::kEx[i];
        dst[i] = a.other[i] + y * a.pitch;
    }
    const int32_t* maskRow = a.obstacleMask + static_cast<ptrdiff_t>(y) * W;
    const Vec omega = V::Set(a.omega);

    for (int x0 = 1; x0 <= W - 2; x0 += L) {
        const unsigned interior = FirstLanes<L>(W - 1 - x0);
        if constexpr (Stream) {
#pragma GCC unroll 16
            for (int i = 0; i < 9; ++i)
                PrefetchAhead(src[i] + x0);
            PrefetchAhead(maskRow + x0);
        }
        Vec out[9];
        const unsigned written = PullAndUpdate<V, Model>(src, maskRow, x0, interior, omega, out);
        if (written == kAll) {
#pragma GCC unroll 16
            for (int i = 0; i < 9; ++i) {
                if constexpr (Stream)
                    V::StoreStream(dst[i] + x0, out[i]);
                else
                    V::Store(dst[i] + x0, out[i]);
            }
        } else if (written != 0) {
#pragma GCC unroll 16
            for (int i = 0; i < 9; ++i)
                V::StoreLanes(dst[i] + x0, written, out[i]);
        }
    }
}

// Interior rows yBegin .. yEnd-1, bottom to top.  Streamed stores are left
// unfenced: a thread fences once when its share of the step is done, not
// after every claim of a few rows.
template <class V, bool Stream>
inline void StepPlaneRows(const CpuPlaneStepArgs& a, int yBegin, int yEnd)
{
    WithCollisionModel(a.model, [&](auto model) {
        for (int y = yBegin; y < yEnd; ++y)
            StepPlaneRow<V, Stream, model()>(a, y);
    });
}

}  // namespace soa
}  // namespace
