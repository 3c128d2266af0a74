// The lattice as the fast CPU step keeps it: one plane of floats per
// direction instead of one record per cell.  The pull from a neighbour then
// becomes a plain (shifted) vector load and the step a streaming kernel with
// no rearrangement in registers.  Cells leave and enter in cell order only
// through CopyTo/CopyFrom, Fill and SetFrame.
//
// Plane geometry: every row is padded to a pitch of a multiple of 16 floats,
// with kLead floats before column 0, so that column 1 of every row (the first
// interior cell) starts on a 64-byte boundary and full vectors of interior
// cells are stored aligned.  Padding is zero and never written; reads may
// reach into it (and up to kTail floats past the last row) for lanes whose
// results are thrown away.
#pragma once

#include <cstddef>
#include <vector>

#include "sim/CpuStep.h"
#include "sim/Lattice.h"

class CpuStepLattice {
public:
    static constexpr int kLead = 15;
    static constexpr int kTail = 16;

    // All values 0.  skew moves every plane by that many cache lines (mod 4
    // KiB); the solver gives its two lattices different skews so that loads
    // from one and stores to the other fall on different cache sets.
    CpuStepLattice(int W, int H, int skew = 0);
    CpuStepLattice(const CpuStepLattice&) = delete;
    CpuStepLattice& operator=(const CpuStepLattice&) = delete;

    int Width() const { return W; }
    int Height() const { return H; }
    // Floats from one row of a plane to the next.
    ptrdiff_t Pitch() const { return pitch; }
    // Column 0 of row 0 of direction i; cell (x, y) is at Plane(i)[y * Pitch() + x].
    float* Plane(int i) { return planes[i]; }
    const float* Plane(int i) const { return planes[i]; }

    // Every cell, frame included.
    void Fill(const LatticeCell& cell);
    // The frame cells only.
    void SetFrame(const LatticeCell& cell);

    // cells holds W*H records in cell order.
    void CopyFrom(const LatticeCell* cells);
    void CopyTo(LatticeCell* cells) const;
    // Rows yBegin .. yEnd-1 only, into the same places of cells: for
    // threads that share one copy.
    void CopyRowsTo(LatticeCell* cells, int yBegin, int yEnd) const;

    // True when any value is not finite or beyond d2q9::kBlownUpMagnitude:
    // the mark of a flow that has blown up.
    bool AnyBlownUp() const;

private:
    int W;
    int H;
    ptrdiff_t pitch;
    std::vector<float> storage;
    float* planes[9];
};

// The arguments of one step from current to other; std::invalid_argument
// unless they are two lattices of the same size.
CpuPlaneStepArgs PlaneStepArgs(const CpuStepLattice& current, CpuStepLattice& other, const int32_t* obstacleMask,
                               float omega);
