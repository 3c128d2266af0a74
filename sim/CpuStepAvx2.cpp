// Built with -mavx2; entered only when the processor supports it.
#include <immintrin.h>

#include "sim/CpuStepKernel.h"
#include "sim/CpuStepKernels.h"

namespace {

struct Avx2 {
    static constexpr int kLanes = 8;
    using Vec = __m256;
    using Mask = __m256;  // all ones in selected lanes

    static Vec Load(const float* p) { return _mm256_loadu_ps(p); }
    static void Store(float* p, Vec v) { _mm256_storeu_ps(p, v); }
    // Lanes whose bit is set in `lanes`, as a vector mask.
    static __m256i LaneMask(unsigned lanes)
    {
        const __m256i bit = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
        return _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(static_cast<int>(lanes)), bit), bit);
    }
    static Vec LoadFirst(const float* p, int n) { return _mm256_maskload_ps(p, LaneMask(soa::FirstLanes<8>(n))); }
    static void StoreStream(float* p, Vec v) { _mm256_stream_ps(p, v); }
    static void StoreFence() { _mm_sfence(); }
    static Vec Set(float v) { return _mm256_set1_ps(v); }
    static Vec Add(Vec a, Vec b) { return _mm256_add_ps(a, b); }
    static Vec Sub(Vec a, Vec b) { return _mm256_sub_ps(a, b); }
    static Vec Mul(Vec a, Vec b) { return _mm256_mul_ps(a, b); }
    static Vec Div(Vec a, Vec b) { return _mm256_div_ps(a, b); }
    static Mask NonZero(const int32_t* p)
    {
        const __m256i m = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i isZero = _mm256_cmpeq_epi32(m, _mm256_setzero_si256());
        return _mm256_castsi256_ps(_mm256_xor_si256(isZero, _mm256_set1_epi32(-1)));
    }
    static Mask NonZero(const int32_t* p, unsigned lanes)
    {
        const __m256i m = _mm256_maskload_epi32(p, LaneMask(lanes));
        const __m256i isZero = _mm256_cmpeq_epi32(m, _mm256_setzero_si256());
        return _mm256_castsi256_ps(_mm256_xor_si256(isZero, _mm256_set1_epi32(-1)));
    }
    static Mask AbsGreater(Vec x, Vec bound)
    {
        return _mm256_cmp_ps(_mm256_andnot_ps(_mm256_set1_ps(-0.0f), x), bound, _CMP_GT_OQ);
    }
    static Vec Select(Mask m, Vec a, Vec b) { return _mm256_blendv_ps(a, b, m); }
    static unsigned Bits(Mask m) { return static_cast<unsigned>(_mm256_movemask_ps(m)); }
    template <unsigned M>
    static Vec BlendConst(Vec a, Vec b)
    {
        return _mm256_blend_ps(a, b, M);
    }
    static Vec Permute(Vec v, const int32_t* idx)
    {
        return _mm256_permutevar8x32_ps(v, _mm256_load_si256(reinterpret_cast<const __m256i*>(idx)));
    }
    static constexpr bool kPermute2 = false;  // two-source permutes need AVX-512
};

}  // namespace

void StepRowsAvx2(const CpuStepArgs& args, int yFirst, int count, int dir, bool primed, float* ring, int pitch,
                  bool stream)
{
    if (stream)
        soa::StepRows<Avx2, true>(args, yFirst, count, dir, primed, ring, pitch);
    else
        soa::StepRows<Avx2, false>(args, yFirst, count, dir, primed, ring, pitch);
}
