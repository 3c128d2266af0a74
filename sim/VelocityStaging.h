// The CPU solver's picture starts from one (ux, uy, rho, 0) texel per cell,
// computed from the lattice every frame.  The pass is bound by memory
// traffic, so it is split over the stepper's threads rather than vectorised:
// a gather-based AVX-512 version measured slower than this plain loop.
#pragma once

#include <cstddef>

#include "sim/Lattice.h"

// Writes the texels of cells [first, last) of lattice to out[4 * first]
// onwards, with the bits of ComputeMacroscopic.
void StageVelocities(const LatticeCell* lattice, size_t first, size_t last, float* out);
