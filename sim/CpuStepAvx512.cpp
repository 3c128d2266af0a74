// Built with -mavx512f; entered only when the processor supports it.
#include <immintrin.h>

#include "sim/CpuStepKernel.h"
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
    static void StoreFence() { _mm_sfence(); }
    static Vec Set(float v) { return _mm512_set1_ps(v); }
    static Vec Add(Vec a, Vec b) { return _mm512_add_ps(a, b); }
    static Vec Sub(Vec a, Vec b) { return _mm512_sub_ps(a, b); }
    static Vec Mul(Vec a, Vec b) { return _mm512_mul_ps(a, b); }
    static Vec Div(Vec a, Vec b) { return _mm512_div_ps(a, b); }
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
