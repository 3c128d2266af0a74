// The vectorised step over lattices in cell order (one LatticeCell record per
// cell), instantiated by each instruction-set translation unit.  The solver
// keeps its lattices as planes (CpuStepKernelPlanes.h); this kernel serves
// callers that hand in per-cell arrays.
//
// Per row, cells are loaded contiguously in blocks of L and rearranged into
// nine direction vectors with lane permutes and blends (gathers are far
// slower).  Each lattice row is rearranged once into a ring of three rows;
// the pull from row y-ey, column x-ex then becomes an unaligned load.  The
// arithmetic of a lane repeats StepCell operation by operation, so results
// are bit-identical to the plain loop.
//
// The block helpers are forced inline: as calls they would pass their nine
// vectors through memory.  The vector operations are those of
// CpuStepKernelVector.h.
#pragma once

#include <cstdint>
#include <cstring>

#include "sim/CpuStep.h"
#include "sim/CpuStepKernelBlock.h"
#include "sim/CpuStepKernelVector.h"
#include "sim/CpuStepKernels.h"

namespace {
namespace soa {

// Lane/register bookkeeping of a block of L cells (9*L floats in L*9 order,
// held in nine registers R_k, lane p = float L*k + p).  Float n belongs to
// direction d = n mod 9 of cell j = n div 9.  Because L and 9 are coprime,
// float n keeps its lane (n mod L) throughout: a rotation across registers
// that depends only on the lane brings all floats of direction d into one
// register, and one in-register permute per direction finishes the job.
template <int L>
struct BlockLayout {
    // c * (L mod 9) == 1 (mod 9).
    static constexpr int kC = [] {
        for (int c = 1; c < 9; ++c)
            if ((L % 9) * c % 9 == 1)
                return c;
        return 0;
    }();
    static_assert(kC != 0, "lane count must be coprime to 9");

    // After the rotation, direction d sits in register Reg(d); the floats of
    // lane p have moved up by Shift(p) registers (mod 9).
    static constexpr int Reg(int d) { return kC * d % 9; }
    static constexpr int Shift(int p) { return kC * p % 9; }

    // Lanes that move by t registers in the rotation step of size t.
    static constexpr unsigned StageMask(int t)
    {
        unsigned m = 0;
        for (int p = 0; p < L; ++p)
            if (Shift(p) & t)
                m |= 1u << p;
        return m;
    }

    // The direction held by register b after the rotation.
    static constexpr int Dir(int b) { return (L % 9) * b % 9; }

    struct Tables {
        alignas(64) int32_t toSoa[9][L];  // lane j of direction d <- lane (9j+d) mod L
        alignas(64) int32_t toAos[9][L];  // the inverse
        // With two-source permutes the last rotation step folds into the
        // permute: lane j of direction d from register Reg(d) or, +L, from
        // the next one; and the first step of the way back likewise.
        alignas(64) int32_t toSoaFolded[9][L];
        alignas(64) int32_t toAosFolded[9][L];  // register b from directions Dir(b), Dir(b+1)
    };
    static constexpr Tables kTables = [] {
        Tables t{};
        for (int d = 0; d < 9; ++d)
            for (int j = 0; j < L; ++j) {
                const int p = (9 * j + d) % L;
                t.toSoa[d][j] = p;
                t.toAos[d][p] = j;
            }
        for (int d = 0; d < 9; ++d)
            for (int j = 0; j < L; ++j) {
                const int p = t.toSoa[d][j];
                t.toSoaFolded[d][j] = (StageMask(8) >> p) & 1 ? p + L : p;
            }
        for (int b = 0; b < 9; ++b)
            for (int p = 0; p < L; ++p)
                t.toAosFolded[b][p] = (StageMask(1) >> p) & 1 ? L + t.toAos[Dir((b + 1) % 9)][p] : t.toAos[Dir(b)][p];
        return t;
    }();
};

// x[b] <- x[b - T] in the lanes whose shift has bit T.
template <class V, int T>
[[gnu::always_inline]] inline void RotateUp(typename V::Vec x[9])
{
    constexpr unsigned m = BlockLayout<V::kLanes>::StageMask(T);
    typename V::Vec y[9];
#pragma GCC unroll 16
    for (int b = 0; b < 9; ++b)
        y[b] = V::template BlendConst<m>(x[b], x[(b + 9 - T) % 9]);
#pragma GCC unroll 16
    for (int b = 0; b < 9; ++b)
        x[b] = y[b];
}

// The inverse: x[b] <- x[b + T] in the same lanes.
template <class V, int T>
[[gnu::always_inline]] inline void RotateDown(typename V::Vec x[9])
{
    constexpr unsigned m = BlockLayout<V::kLanes>::StageMask(T);
    typename V::Vec y[9];
#pragma GCC unroll 16
    for (int b = 0; b < 9; ++b)
        y[b] = V::template BlendConst<m>(x[b], x[(b + T) % 9]);
#pragma GCC unroll 16
    for (int b = 0; b < 9; ++b)
        x[b] = y[b];
}

// L cells at src (9*L floats) -> nine direction vectors.  With floats < 9*L
// only that many are read and the rest count as zero.
template <class V>
[[gnu::always_inline]] inline void AosToSoa(const float* src, typename V::Vec out[9], int floats = 9 * V::kLanes)
{
    using Layout = BlockLayout<V::kLanes>;
    constexpr int L = V::kLanes;
    typename V::Vec x[9];
    if (floats == 9 * L) {
#pragma GCC unroll 16
        for (int k = 0; k < 9; ++k)
            x[k] = V::Load(src + L * k);
    } else {
#pragma GCC unroll 16
        for (int k = 0; k < 9; ++k)
            x[k] = V::LoadFirst(src + L * k, floats - L * k);
    }
    RotateUp<V, 1>(x);
    RotateUp<V, 2>(x);
    RotateUp<V, 4>(x);
    if constexpr (V::kPermute2) {
#pragma GCC unroll 16
        for (int d = 0; d < 9; ++d)
            out[d] = V::Permute2(x[Layout::Reg(d)], x[(Layout::Reg(d) + 1) % 9], Layout::kTables.toSoaFolded[d]);
    } else {
        RotateUp<V, 8>(x);
#pragma GCC unroll 16
        for (int d = 0; d < 9; ++d)
            out[d] = V::Permute(x[Layout::Reg(d)], Layout::kTables.toSoa[d]);
    }
}

// Nine direction vectors -> L cells at dst; Stream: dst is vector-aligned
// and the stores bypass the cache.
template <class V, bool Stream>
[[gnu::always_inline]] inline void SoaToAos(const typename V::Vec in[9], float* dst)
{
    using Layout = BlockLayout<V::kLanes>;
    typename V::Vec x[9];
    if constexpr (V::kPermute2) {
#pragma GCC unroll 16
        for (int b = 0; b < 9; ++b)
            x[b] = V::Permute2(in[Layout::Dir(b)], in[Layout::Dir((b + 1) % 9)], Layout::kTables.toAosFolded[b]);
    } else {
#pragma GCC unroll 16
        for (int d = 0; d < 9; ++d)
            x[Layout::Reg(d)] = V::Permute(in[d], Layout::kTables.toAos[d]);
        RotateDown<V, 1>(x);
    }
    RotateDown<V, 2>(x);
    RotateDown<V, 4>(x);
    RotateDown<V, 8>(x);
#pragma GCC unroll 16
    for (int k = 0; k < 9; ++k) {
        if constexpr (Stream)
            V::StoreStream(dst + V::kLanes * k, x[k]);
        else
            V::Store(dst + V::kLanes * k, x[k]);
    }
}

// Ring scratch: plane i of lattice row r; kRingMargin floats before x = 0.
inline float* RingPlane(float* ring, int pitch, int row, int i)
{
    return ring + ((row % 3) * 9 + i) * pitch + kRingMargin;
}

// Rearranges the whole row r (frame cells included) into the ring.  The last
// block is read with masked loads, which never touch memory past the row's
// end; its lanes beyond the row land in the right margin.
template <class V>
inline void LoadRow(const CpuStepArgs& a, float* ring, int pitch, int r)
{
    constexpr int L = V::kLanes;
    const float* row = &a.current[r * a.W].f[0];
    float* planes[9];
#pragma GCC unroll 16
    for (int i = 0; i < 9; ++i)
        planes[i] = RingPlane(ring, pitch, r, i);
    typename V::Vec f[9];
    int x = 0;
    for (; x + L <= a.W; x += L) {
        AosToSoa<V>(row + 9 * x, f);
#pragma GCC unroll 16
        for (int i = 0; i < 9; ++i)
            V::Store(planes[i] + x, f[i]);
    }
    if (x < a.W) {
        const int floats = 9 * (a.W - x);
        AosToSoa<V>(row + 9 * x, f, floats);
#pragma GCC unroll 16
        for (int i = 0; i < 9; ++i)
            V::Store(planes[i] + x, f[i]);
    }
}

// First column of a block whose destination starts on a vector boundary, so
// that full blocks are stored aligned (and may bypass the cache).
template <int L>
inline int AlignedColumn(const LatticeCell* rowStart)
{
    const auto address = reinterpret_cast<uintptr_t>(rowStart);
    // Cells are 4-byte aligned; solve 9 * phase + address/4 == 0 (mod L),
    // where 9 is its own inverse for L = 8 and L = 16.
    static_assert(9 * 9 % L == 1);
    const int r = static_cast<int>(address / 4 % L);
    return (L - r) * 9 % L;
}

// Interior row y from the ring, which holds rows y-1, y and y+1.  Blocks are
// laid on the destination's vector boundaries; the first and last block of a
// row are partial and store only their interior cells.
template <class V, bool Stream, CollisionModel Model>
inline void StepRow(const CpuStepArgs& a, float* ring, int pitch, int y)
{
    using Vec = typename V::Vec;
    constexpr int L = V::kLanes;
    constexpr unsigned kAll = (1u << L) - 1u;
    const int W = a.W;
    const float* src[9];
#pragma GCC unroll 16
    for (int i = 0; i < 9; ++i)
        src[i] = RingPlane(ring, pitch, y - d2q9::kEy[i], i) - d2q9::kEx[i];
    const int32_t* maskRow = a.obstacleMask + y * W;
    LatticeCell* dstRow = a.other + y * W;
    const Vec omega = V::Set(a.omega);

    int x0 = AlignedColumn<L>(dstRow);
    if (x0 > 1)
        x0 -= L;
    for (; x0 <= W - 2; x0 += L) {
        // Lanes of interior cells: 1 <= x0 + j <= W - 2.
        const unsigned interior = FirstLanes<L>(W - 1 - x0) & ~FirstLanes<L>(1 - x0);
        Vec out[9];
        const unsigned written = PullAndUpdate<V, Model>(src, maskRow, x0, interior, omega, out);
        if (written == kAll) {
            SoaToAos<V, Stream>(out, &dstRow[x0].f[0]);
        } else if (written != 0) {
            alignas(64) float block[9 * L];
            SoaToAos<V, false>(out, block);
            for (int j = 0; j < L; ++j)
                if (written & (1u << j))
                    std::memcpy(&dstRow[x0 + j], block + 9 * j, sizeof(LatticeCell));
        }
    }
}

// count rows from yFirst in direction dir (+1 upwards, -1 downwards).  primed:
// the ring already holds rows yFirst - dir and yFirst, left there by the
// previous call that ended next to yFirst.
template <class V, bool Stream>
inline void StepRows(const CpuStepArgs& a, int yFirst, int count, int dir, bool primed, float* ring, int pitch)
{
    if (count <= 0)
        return;
    if (!primed) {
        LoadRow<V>(a, ring, pitch, yFirst - dir);
        LoadRow<V>(a, ring, pitch, yFirst);
    }
    WithCollisionModel(a.model, [&](auto model) {
        for (int n = 0, y = yFirst; n < count; ++n, y += dir) {
            LoadRow<V>(a, ring, pitch, y + dir);
            StepRow<V, Stream, model()>(a, ring, pitch, y);
        }
    });
    if constexpr (Stream)
        V::StoreFence();  // streamed stores are weakly ordered: finish them before the hand-off
}

}  // namespace soa
}  // namespace
