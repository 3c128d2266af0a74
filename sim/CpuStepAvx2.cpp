// Built with -mavx2; entered only when the processor supports it.
#include <immintrin.h>

#include "sim/CpuStepKernel.h"
#include "sim/CpuStepKernelPlanes.h"
#include "sim/VelocityStagingKernel.h"
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
    static void StoreLanes(float* p, unsigned lanes, Vec v) { _mm256_maskstore_ps(p, LaneMask(lanes), v); }
    static void StoreFence() { _mm_sfence(); }
    static void StoreTexels(float* out, Vec ux, Vec uy, Vec rho)
    {
        // Within each 128-bit half k, t_j gets cell 4k+j as (ux, uy, rho, 0);
        // then the halves are put in cell order.
        const __m256 zero = _mm256_setzero_ps();
        const __m256 a = _mm256_unpacklo_ps(ux, uy);
        const __m256 b = _mm256_unpackhi_ps(ux, uy);
        const __m256 c = _mm256_unpacklo_ps(rho, zero);
        const __m256 d = _mm256_unpackhi_ps(rho, zero);
        const __m256 t0 = _mm256_shuffle_ps(a, c, _MM_SHUFFLE(1, 0, 1, 0));
        const __m256 t1 = _mm256_shuffle_ps(a, c, _MM_SHUFFLE(3, 2, 3, 2));
        const __m256 t2 = _mm256_shuffle_ps(b, d, _MM_SHUFFLE(1, 0, 1, 0));
        const __m256 t3 = _mm256_shuffle_ps(b, d, _MM_SHUFFLE(3, 2, 3, 2));
        _mm256_storeu_ps(out, _mm256_permute2f128_ps(t0, t1, 0x20));
        _mm256_storeu_ps(out + 8, _mm256_permute2f128_ps(t2, t3, 0x20));
        _mm256_storeu_ps(out + 16, _mm256_permute2f128_ps(t0, t1, 0x31));
        _mm256_storeu_ps(out + 24, _mm256_permute2f128_ps(t2, t3, 0x31));
    }
    static Vec Set(float v) { return _mm256_set1_ps(v); }
    static Vec Add(Vec a, Vec b) { return _mm256_add_ps(a, b); }
    static Vec Sub(Vec a, Vec b) { return _mm256_sub_ps(a, b); }
    static Vec Mul(Vec a, Vec b) { return _mm256_mul_ps(a, b); }
    static Vec Div(Vec a, Vec b) { return _mm256_div_ps(a, b); }
    static Vec Sqrt(Vec a) { return _mm256_sqrt_ps(a); }
    static Vec Abs(Vec a) { return _mm256_andnot_ps(_mm256_set1_ps(-0.0f), a); }
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
    static Mask Less(Vec a, Vec b) { return _mm256_cmp_ps(a, b, _CMP_LT_OQ); }
    static Mask LessEqual(Vec a, Vec b) { return _mm256_cmp_ps(a, b, _CMP_LE_OQ); }
    static Mask MaskAnd(Mask a, Mask b) { return _mm256_and_ps(a, b); }
    static Mask MaskOr(Mask a, Mask b) { return _mm256_or_ps(a, b); }
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

void StepPlaneRowsAvx2(const CpuPlaneStepArgs& args, int yBegin, int yEnd, bool stream)
{
    if (stream)
        soa::StepPlaneRows<Avx2, true>(args, yBegin, yEnd);
    else
        soa::StepPlaneRows<Avx2, false>(args, yBegin, yEnd);
}

void StageVelocityRowAvx2(const float* const planes[9], int xBegin, int xEnd, float* out)
{
    soa::StageVelocityRow<Avx2>(planes, xBegin, xEnd, out);
}
