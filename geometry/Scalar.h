// Scalar helpers of the geometry library: tolerant comparisons and the
// floor rule the spline parameter and the grid steps rely on.
#pragma once

#include <climits>

namespace cg {

template <class T>
struct scalar_traits {
    static constexpr T epsilon() { return T(1e-10); }
};

template <class T>
constexpr T epsilon() { return scalar_traits<T>::epsilon(); }

inline constexpr bool eq(double a, double b, double e = epsilon<double>()) { return -e <= a - b && a - b <= e; }
inline constexpr bool eq_zero(double a, double e = epsilon<double>()) { return -e <= a && a <= e; }
inline constexpr bool ge(double a, double b, double e = epsilon<double>()) { return a - b >= -e; }
inline constexpr bool le(double a, double b, double e = epsilon<double>()) { return a - b <= e; }

// For positive x the integer part; otherwise the integer part of
// x - 0.9999999999, so a negative x within 1e-10 of an integer maps to that
// integer.  Out-of-range values saturate and NaN gives 0, so that a wild
// parameter can never turn into undefined behaviour in the conversion.
inline constexpr double nfloor(double x)
{
    if (!(x == x)) return 0.0;
    const double shifted = x > 0 ? x : x - 0.9999999999;
    if (shifted >= 9.0e15 || shifted <= -9.0e15) return shifted;  // already integral
    return static_cast<double>(static_cast<long long>(shifted));
}

inline constexpr int floor(double x)
{
    const double f = nfloor(x);
    if (f >= double(INT_MAX)) return INT_MAX;
    if (f <= double(INT_MIN)) return INT_MIN;
    return static_cast<int>(f);
}

inline constexpr int min(int a, int b) { return a < b ? a : b; }
inline constexpr int max(int a, int b) { return a > b ? a : b; }

template <class T>
constexpr void make_min(T* v, const T& x)
{
    if (x < *v) *v = x;
}

template <class T>
constexpr void make_max(T* v, const T& x)
{
    if (x > *v) *v = x;
}

template <class T>
constexpr void sort2(const T& a, const T& b, T* lo, T* hi)
{
    if (a < b) {
        *lo = a;
        *hi = b;
    } else {
        *lo = b;
        *hi = a;
    }
}

}  // namespace cg
