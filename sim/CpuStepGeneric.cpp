// The plane kernels over the compiler's own four-lane vectors, for processors
// without AVX2 (and for any other architecture): built at -O3 with no
// instruction-set option, they become SSE2 on every x86-64 processor.  One
// cell at a time, the planes cost nine scattered loads and stores per cell
// and measured a third slower than the per-cell loop over cell records; four
// lanes make them about three times faster than it.
#include <cstring>

#include "sim/CpuStepKernelPlanes.h"
#include "sim/CpuStepKernels.h"
#include "sim/VelocityStagingKernel.h"

namespace {

struct Generic {
    static constexpr int kLanes = 4;
    using Vec = float __attribute__((vector_size(16)));
    using Mask = int32_t __attribute__((vector_size(16)));  // all ones in selected lanes

    static Vec Load(const float* p)
    {
        Vec v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static void Store(float* p, Vec v) { std::memcpy(p, &v, sizeof v); }
    static void StoreStream(float* p, Vec v) { Store(p, v); }
    static void StoreLanes(float* p, unsigned lanes, Vec v)
    {
        for (int j = 0; j < kLanes; ++j)
            if (lanes & (1u << j))
                p[j] = v[j];
    }
    static void StoreTexels(float* out, Vec ux, Vec uy, Vec rho)
    {
        for (int j = 0; j < kLanes; ++j) {
            out[4 * j] = ux[j];
            out[4 * j + 1] = uy[j];
            out[4 * j + 2] = rho[j];
            out[4 * j + 3] = 0.0f;
        }
    }
    static Vec Set(float v) { return Vec{v, v, v, v}; }
    static Vec Add(Vec a, Vec b) { return a + b; }
    static Vec Sub(Vec a, Vec b) { return a - b; }
    static Vec Mul(Vec a, Vec b) { return a * b; }
    static Vec Div(Vec a, Vec b) { return a / b; }
    static Vec Sqrt(Vec a)
    {
        for (int j = 0; j < kLanes; ++j)
            a[j] = __builtin_sqrtf(a[j]);
        return a;
    }
    static Vec Abs(Vec a) { return reinterpret_cast<Vec>(reinterpret_cast<Mask>(a) & 0x7FFFFFFF); }
    static Mask NonZero(const int32_t* p)
    {
        Mask m;
        std::memcpy(&m, p, sizeof m);
        return m != 0;
    }
    static Mask NonZero(const int32_t* p, unsigned lanes)
    {
        Mask m = {0, 0, 0, 0};
        for (int j = 0; j < kLanes; ++j)
            if (lanes & (1u << j))
                m[j] = p[j];
        return m != 0;
    }
    static Mask AbsGreater(Vec x, Vec bound)
    {
        return Abs(x) > bound;
    }
    static Mask Less(Vec a, Vec b) { return a < b; }
    static Mask LessEqual(Vec a, Vec b) { return a <= b; }
    static Mask MaskAnd(Mask a, Mask b) { return a & b; }
    static Mask MaskOr(Mask a, Mask b) { return a | b; }
    static Vec Select(Mask m, Vec a, Vec b)
    {
        return reinterpret_cast<Vec>((reinterpret_cast<Mask>(b) & m) | (reinterpret_cast<Mask>(a) & ~m));
    }
    static unsigned Bits(Mask m)
    {
        unsigned bits = 0;
        for (int j = 0; j < kLanes; ++j)
            bits |= m[j] != 0 ? 1u << j : 0u;
        return bits;
    }
};

}  // namespace

void StepPlaneRowsGeneric(const CpuPlaneStepArgs& args, int yBegin, int yEnd)
{
    soa::StepPlaneRows<Generic, false>(args, yBegin, yEnd);
}

void StageVelocityRowGeneric(const float* const planes[9], int xBegin, int xEnd, float* out)
{
    soa::StageVelocityRow<Generic>(planes, xBegin, xEnd, out);
}
