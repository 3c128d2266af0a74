// Entry points of the vector kernels, each built in a translation unit of its
// own with the instruction set it needs.  Call one only when
// CpuIsaSupported() says so; the generic ones run anywhere.
//
// A kernel over cell records steps `count` interior rows from yFirst in
// direction dir (+1 or -1).  ring is scratch of 3 * 9 * pitch floats, 64-byte aligned and
// zero-filled once, with pitch >= kRingMargin + W rounded up to 16 + 16; it
// holds three lattice rows rearranged as one array per direction, so that the
// pull from the neighbours becomes plain (shifted) vector loads.  primed: the
// ring still holds rows yFirst - dir and yFirst from a call that ended next to
// yFirst.  stream: full blocks of cells bypass the cache on their way to
// args.other, which pays when the lattices are larger than the caches.
#pragma once

#include "sim/CpuStep.h"

// Floats before column 0 of each ring plane.
inline constexpr int kRingMargin = 16;

void StepRowsAvx2(const CpuStepArgs& args, int yFirst, int count, int dir, bool primed, float* ring, int pitch,
                  bool stream);
void StepRowsAvx512(const CpuStepArgs& args, int yFirst, int count, int dir, bool primed, float* ring, int pitch,
                    bool stream);

// Interior rows yBegin .. yEnd-1 of lattices kept as planes; no scratch.
// With stream, the caller fences (sfence) before it hands the step on.  The
// generic kernel runs on any processor and always stores through the cache.
void StepPlaneRowsGeneric(const CpuPlaneStepArgs& args, int yBegin, int yEnd);
void StepPlaneRowsAvx2(const CpuPlaneStepArgs& args, int yBegin, int yEnd, bool stream);
void StepPlaneRowsAvx512(const CpuPlaneStepArgs& args, int yBegin, int yEnd, bool stream);

// The picture's texels (ux, uy, rho, 0) of cells xBegin .. xEnd-1 of one row
// of a lattice kept as planes: planes[i] is column 0 of the row in plane i,
// out the texel of cell xBegin.  Reads reach up to a vector past xEnd, into
// the lattice's padding.
void StageVelocityRowGeneric(const float* const planes[9], int xBegin, int xEnd, float* out);
void StageVelocityRowAvx2(const float* const planes[9], int xBegin, int xEnd, float* out);
void StageVelocityRowAvx512(const float* const planes[9], int xBegin, int xEnd, float* out);
