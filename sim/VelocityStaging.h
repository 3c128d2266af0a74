// The CPU solver's picture starts from one (ux, uy, rho, 0) texel per cell,
// computed from the lattice every frame.  The pass is bound by memory
// traffic and split over the stepper's threads.  From cell records it stays
// a plain loop (a gather-based AVX-512 version measured slower); from planes
// the loads are contiguous and the vector kernels pay.
#pragma once

#include <cstddef>

#include "sim/CpuIsa.h"
#include "sim/CpuStepLattice.h"
#include "sim/Lattice.h"

// Writes the texels of cells [first, last) of lattice to out[4 * first]
// onwards, with the bits of ComputeMacroscopic.
void StageVelocities(const LatticeCell* lattice, size_t first, size_t last, float* out);

// The same from a lattice kept as planes (cells in cell order, n = y*W + x),
// with the vector kernel of isa where it has one; the bits are the same.
void StageVelocities(const CpuStepLattice& lattice, size_t first, size_t last, float* out, CpuIsa isa);

// For the vorticity picture: the fourth value of the staged texels of cells
// [first, last) becomes the curl of the velocity by central differences,
// 0.5 ((uy east - uy west) - (ux north - ux south)), a neighbour on an
// obstacle (mask nonzero) counting as at rest and one past the grid's edge
// being the edge cell itself; 0 on obstacle cells.  Reads the velocities of
// the neighbours, so every cell must be staged first.  Drawn per pixel, the
// four neighbour lookups would cost the picture more than the whole pass
// here.
void StageVorticity(float* texels, const int32_t* mask, int W, int H, size_t first, size_t last);
