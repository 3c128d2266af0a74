// The memory bandwidth that bounds the lattice step: a STREAM-style triad
// a = b + s*c over arrays far larger than the caches.
#pragma once

struct Triad {
    double oneThread = 0.0;  // GB/s
    double twoThreads = 0.0;
};

// Best of ten passes on one and on two threads; counts 12 bytes per element
// (two reads, one write), as STREAM does, although the write also reads each
// line first.
Triad MeasureTriad();
