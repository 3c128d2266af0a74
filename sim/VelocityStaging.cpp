#include "sim/VelocityStaging.h"

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
