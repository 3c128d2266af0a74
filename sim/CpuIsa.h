// The vector instruction sets the CPU step can use.  The default build runs
// on any x86-64 processor; the wider kernels are chosen at run time.
#pragma once

enum class CpuIsa {
    Scalar,  // no extension, any processor: one cell at a time, or the compiler's own 4-lane vectors
    Avx2,    // 8 cells per vector
    Avx512,  // 16 cells per vector
};

// True when this build contains a kernel for isa and the processor (and the
// operating system's register saving) supports it.
bool CpuIsaSupported(CpuIsa isa);

// The widest supported instruction set.
CpuIsa BestCpuIsa();

// "scalar", "avx2", "avx512".
const char* CpuIsaName(CpuIsa isa);
