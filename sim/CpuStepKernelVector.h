// What every vector kernel is written over: a small set of vector
// operations that each instruction-set translation unit provides as a type V,
// and lane helpers.
//
// Only templates and constants live in the kernel headers, in an anonymous
// namespace: the instantiations are local to the unit built with the wider
// instructions, so the linker can never pick one of them for code that must
// run on any processor.
//
// A vector-operations type V provides:
//   kLanes, Vec, Mask
//   Load, Store (unaligned), Set, Add, Sub, Mul, Div
//   Sqrt (correctly rounded, as std::sqrt), Abs
//   StoreStream(p, v)            aligned store that bypasses the cache
//   StoreLanes(p, lanes, v)      stores only the lanes whose bit is set
//   NonZero(const int32_t*)      lanes whose mask entry is non-zero
//   NonZero(p, lanes)            the same, reading only the given lanes
//   AbsGreater(x, bound)         |x| > bound, false for NaN
//   Less(a, b), LessEqual(a, b)  ordered comparisons, false for NaN
//   MaskAnd(m, n), MaskOr(m, n)
//   Select(m, a, b)              m ? b : a
//   Bits(m)                      one bit per lane
// and, for the kernel over cell records only:
//   LoadFirst(p, n)              the first n floats (n may exceed the
//                                lanes), zero elsewhere, touching no more
//   StoreFence()                 orders streamed stores before later ones
//   BlendConst<M>(a, b)          lane p from b where bit p of M is set
//   kPermute2                    whether Permute2 exists
//   Permute2(a, b, idx)          lane j = idx[j] < L ? a[idx[j]] : b[idx[j] - L]
//   Permute(v, idx)              lane j = v[idx[j]] (without Permute2)
//                                idx is 64-byte aligned
#pragma once

namespace {
namespace soa {

// Lanes 0 .. n-1 (n may exceed the lane count).
template <int L>
constexpr unsigned FirstLanes(int n)
{
    return n >= L ? (1u << L) - 1u : n <= 0 ? 0u : (1u << n) - 1u;
}

}  // namespace soa
}  // namespace
