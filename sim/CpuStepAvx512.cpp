// Built with -mavx512f; entered only when the processor supports it.
#include <immintrin.h>

#include "sim/CpuStepKernel.h"
#include "sim/CpuStepKernelPlanes.h"
#include "sim/VelocityStagingKernel.h"
#include "sim/CpuStepKernels.h"

namespace {

struct Avx512 {
    static constexpr int kLanes = 16;
    using Vec = __m512;
    using Mask = __mmask16;

    static __mmask16 FirstLanes(int n) { return static_cast<__mmask16>(soa::FirstLanes<16>(n)); }

    static Vec Load(const float* p) { return _mm512_loadu_ps(p); }
    static void Store(float* p, Vec v) { _mm512_storeu_ps(p, v); }
    static Vec LoadFirst(const float* p, int n) { return _mm512_maskz_loadu_ps(FirstLanes(n), p); }
    static void StoreStream(float* p, Vec v) { _mm512_stream_ps(p, v); }
    static void StoreLanes(float* p, unsigned lanes, Vec v)
    {
        _mm512_mask_storeu_ps(p, static_cast<__mmask16>(lanes), v);
    }
    static void StoreFence() { _mm_sfence(); }
    static void StoreTexels(float* out, Vec ux, Vec uy, Vec rho)
    {
        // (ux, uy) and (rho, 0) pairs of cells 0-7 and 8-15, then the pairs
        // of four cells at a time side by side.
        const __m512i pairsLow = _mm512_setr_epi32(0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23);
        const __m512i pairsHigh = _mm512_setr_epi32(8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31);
        const __m512i cellsLow = _mm512_setr_epi32(0, 1, 16, 17, 2, 3, 18, 19, 4, 5, 20, 21, 6, 7, 22, 23);
        const __m512i cellsHigh = _mm512_setr_epi32(8, 9, 24, 25, 10, 11, 26, 27, 12, 13, 28, 29, 14, 15, 30, 31);
        const __m512 zero = _mm512_setzero_ps();
        const __m512 velocity0 = _mm512_permutex2var_ps(ux, pairsLow, uy);
        const __m512 velocity8 = _mm512_permutex2var_ps(ux, pairsHigh, uy);
        const __m512 density0 = _mm512_permutex2var_ps(rho, pairsLow, zero);
        const __m512 density8 = _mm512_permutex2var_ps(rho, pairsHigh, zero);
        _mm512_storeu_ps(out, _mm512_permutex2var_ps(velocity0, cellsLow, density0));
        _mm512_storeu_ps(out + 16, _mm512_permutex2var_ps(velocity0, cellsHigh, density0));
        _mm512_storeu_ps(out + 32, _mm512_permutex2var_ps(velocity8, cellsLow, density8));
        _mm512_storeu_ps(out + 48, _mm512_permutex2var_ps(velocity8, cellsHigh, density8));
    }
    static Vec Set(float v) { return _mm512_set1_ps(v); }
    static Vec Add(Vec a, Vec b) { return _mm512_add_ps(a, b); }
    static Vec Sub(Vec a, Vec b) { return _mm512_sub_ps(a, b); }
    static Vec Mul(Vec a, Vec b) { return _mm512_mul_ps(a, b); }
    static Vec Div(Vec a, Vec b) { return _mm512_div_ps(a, b); }
    // The masked form with every lane set: the plain one starts from an
    // undefined vector, which this compiler mistakes for an uninitialised use.
    static Vec Sqrt(Vec a) { return _mm512_mask_sqrt_ps(a, 0xFFFF, a); }
    static Vec Abs(Vec a) { return _mm512_abs_ps(a); }
    static Mask NonZero(const int32_t* p)
    {
        const __m512i m = _mm512_loadu_si512(p);
        return _mm512_test_epi32_mask(m, m);
    }
    static Mask NonZero(const int32_t* p, unsigned lanes)
    {
        const __m512i m = _mm512_maskz_loadu_epi32(static_cast<__mmask16>(lanes), p);
        return _mm512_test_epi32_mask(m, m);
    }
    static Mask AbsGreater(Vec x, Vec bound) { return _mm512_cmp_ps_mask(_mm512_abs_ps(x), bound, _CMP_GT_OQ); }
    static Mask Less(Vec a, Vec b) { return _mm512_cmp_ps_mask(a, b, _CMP_LT_OQ); }
    static Mask LessEqual(Vec a, Vec b) { return _mm512_cmp_ps_mask(a, b, _CMP_LE_OQ); }
    static Mask MaskAnd(Mask a, Mask b) { return static_cast<Mask>(a & b); }
    static Mask MaskOr(Mask a, Mask b) { return static_cast<Mask>(a | b); }
    static Vec Select(Mask m, Vec a, Vec b) { return _mm512_mask_blend_ps(m, a, b); }
    static unsigned Bits(Mask m) { return m; }
    template <unsigned M>
    static Vec BlendConst(Vec a, Vec b)
    {
        return _mm512_mask_blend_ps(static_cast<__mmask16>(M), a, b);
    }
    static constexpr bool kPermute2 = true;
    static Vec Permute2(Vec a, Vec b, const int32_t* idx)
    {
        return _mm512_permutex2var_ps(a, _mm512_load_si512(idx), b);
    }
};

}  // namespace

void StepRowsAvx512(const CpuStepArgs& args, int yFirst, int count, int dir, bool primed, float* ring, int pitch,
                    bool stream)
{
    if (stream)
        soa::StepRows<Avx512, true>(args, yFirst, count, dir, primed, ring, pitch);
    else
        soa::StepRows<Avx512, false>(args, yFirst, count, dir, primed, ring, pitch);
}

void StepPlaneRowsAvx512(const CpuPlaneStepArgs& args, int yBegin, int yEnd, bool stream)
{
    if (stream)
        soa::StepPlaneRows<Avx512, true>(args, yBegin, yEnd);
    else
        soa::StepPlaneRows<Avx512, false>(args, yBegin, yEnd);
}

void StageVelocityRowAvx512(const float* const planes[9], int xBegin, int xEnd, float* out)
{
    soa::StageVelocityRow<Avx512>(planes, xBegin, xEnd, out);
}
