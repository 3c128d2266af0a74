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
