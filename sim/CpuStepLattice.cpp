#include "sim/CpuStepLattice.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace {

constexpr ptrdiff_t kLineFloats = 16;    // one 64-byte cache line
constexpr ptrdiff_t kPageFloats = 1024;  // 4 KiB

// Successive planes start this many cache lines further on (mod 4 KiB): the
// nine loads and nine stores of a block then fall on different L1 sets
// instead of competing for the ways of one.
constexpr ptrdiff_t kPlaneSkewLines = 7;

ptrdiff_t RoundUp(ptrdiff_t n, ptrdiff_t to) { return (n + to - 1) / to * to; }

}  // namespace

CpuStepLattice::CpuStepLattice(int width, int height, int skew)
    : W(std::max(width, 0)), H(std::max(height, 0)), pitch(RoundUp(ptrdiff_t{W} + kLead, kLineFloats))
{
    const ptrdiff_t planeFloats = H * pitch + kTail;
    const ptrdiff_t stride = RoundUp(planeFloats, kPageFloats) + kPlaneSkewLines * kLineFloats;
    const ptrdiff_t first = (skew % 64 + 64) % 64 * kLineFloats;
    // One spare page to start the first plane on a 4 KiB boundary.
    storage.assign(static_cast<size_t>(first + 9 * stride + kPageFloats), 0.0f);
    const auto address = reinterpret_cast<uintptr_t>(storage.data());
    float* page = storage.data() + (4096 - address % 4096) % 4096 / sizeof(float);
    for (int i = 0; i < 9; ++i)
        planes[i] = page + first + i * stride + kLead;
}

void CpuStepLattice::Fill(const LatticeCell& cell)
{
    for (int i = 0; i < 9; ++i)
        for (int y = 0; y < H; ++y)
            std::fill_n(planes[i] + y * pitch, W, cell.f[i]);
}

void CpuStepLattice::SetFrame(const LatticeCell& cell)
{
    for (int i = 0; i < 9; ++i) {
        if (H > 0) {
            std::fill_n(planes[i], W, cell.f[i]);
            std::fill_n(planes[i] + (H - 1) * pitch, W, cell.f[i]);
        }
        if (W > 0)
            for (int y = 1; y < H - 1; ++y) {
                planes[i][y * pitch] = cell.f[i];
                planes[i][y * pitch + W - 1] = cell.f[i];
            }
    }
}

void CpuStepLattice::CopyFrom(const LatticeCell* cells)
{
    for (int y = 0; y < H; ++y) {
        const LatticeCell* row = cells + static_cast<ptrdiff_t>(y) * W;
        for (int i = 0; i < 9; ++i) {
            float* dst = planes[i] + y * pitch;
            for (int x = 0; x < W; ++x)
                dst[x] = row[x].f[i];
        }
    }
}

void CpuStepLattice::CopyTo(LatticeCell* cells) const { CopyRowsTo(cells, 0, H); }

void CpuStepLattice::CopyRowsTo(LatticeCell* cells, int yBegin, int yEnd) const
{
    for (int y = yBegin; y < yEnd; ++y) {
        LatticeCell* row = cells + static_cast<ptrdiff_t>(y) * W;
        for (int i = 0; i < 9; ++i) {
            const float* src = planes[i] + y * pitch;
            for (int x = 0; x < W; ++x)
                row[x].f[i] = src[x];
        }
    }
}

CpuPlaneStepArgs PlaneStepArgs(const CpuStepLattice& current, CpuStepLattice& other, const int32_t* obstacleMask,
                               float omega)
{
    if (&other == &current || other.Width() != current.Width() || other.Height() != current.Height())
        throw std::invalid_argument("a step needs two distinct lattices of the same size");
    CpuPlaneStepArgs args{};
    for (int i = 0; i < 9; ++i) {
        args.current[i] = current.Plane(i);
        args.other[i] = other.Plane(i);
    }
    args.obstacleMask = obstacleMask;
    args.W = current.Width();
    args.H = current.Height();
    args.pitch = current.Pitch();
    args.omega = omega;
    return args;
}

bool CpuStepLattice::AnyBlownUp() const
{
    // Every float of the storage, padding (zero) included.
    return d2q9::AnyBlownUpValue(storage.data(), storage.size());
}
