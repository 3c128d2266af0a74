#include "sim/VelocityStaging.h"

#include <algorithm>

#include "sim/CpuStepKernels.h"

void StageVelocities(const LatticeCell* lattice, size_t first, size_t last, float* out)
{
    for (size_t n = first; n < last; ++n) {
        const Macroscopic m = ComputeMacroscopic(lattice[n]);
        float* t = out + 4 * n;
        t[0] = m.ux;
        t[1] = m.uy;
        t[2] = m.rho;
        t[3] = 0.0f;
    }
}

namespace {

using StageRow = void (*)(const float* const planes[9], int xBegin, int xEnd, float* out);

StageRow StageRowKernel([[maybe_unused]] CpuIsa isa)
{
#if defined(EDDYRA_X86_KERNELS)
    if (isa == CpuIsa::Avx512 && CpuIsaSupported(isa))
        return StageVelocityRowAvx512;
    if (isa == CpuIsa::Avx2 && CpuIsaSupported(isa))
        return StageVelocityRowAvx2;
#endif
    return StageVelocityRowGeneric;
}

}  // namespace

void StageVelocities(const CpuStepLattice& lattice, size_t first, size_t last, float* out, CpuIsa isa)
{
    const size_t W = static_cast<size_t>(lattice.Width());
    if (W == 0)
        return;
    const StageRow stageRow = StageRowKernel(isa);
    for (size_t n = first; n < last;) {
        const size_t y = n / W;
        const size_t x0 = n % W;
        const size_t x1 = std::min(W, x0 + (last - n));
        const float* row[9];
        for (int i = 0; i < 9; ++i)
            row[i] = lattice.Plane(i) + static_cast<ptrdiff_t>(y) * lattice.Pitch();
        stageRow(row, static_cast<int>(x0), static_cast<int>(x1), out + 4 * n);
        n = y * W + x1;
    }
}

void StageVorticity(float* texels, const int32_t* mask, int W, int H, size_t first, size_t last)
{
    if (W < 1 || H < 1)
        return;
    const size_t width = static_cast<size_t>(W);
    auto velocity = [&](int x, int y, int component) {
        const size_t n = static_cast<size_t>(y) * width + static_cast<size_t>(x);
        return mask[n] != 0 ? 0.0f : texels[4 * n + static_cast<size_t>(component)];
    };
    // The column and row are carried along: a division per cell would cost
    // this per-frame pass a good part of its time.
    int x = static_cast<int>(first % width), y = static_cast<int>(first / width);
    for (size_t n = first; n < last; ++n) {
        if (mask[n] != 0) {
            texels[4 * n + 3] = 0.0f;
        } else {
            const int east = std::min(x + 1, W - 1), west = std::max(x - 1, 0);
            const int north = std::min(y + 1, H - 1), south = std::max(y - 1, 0);
            texels[4 * n + 3] = 0.5f * ((velocity(east, y, 1) - velocity(west, y, 1)) -
                                        (velocity(x, north, 0) - velocity(x, south, 0)));
        }
        if (++x == W) {
            x = 0;
            ++y;
        }
    }
}
