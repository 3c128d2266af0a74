// Two-component points of the plane with the usual vector arithmetic.
#pragma once

#include <cmath>

#include "geometry/Scalar.h"

namespace cg {

template <class T, int N>
struct point_t;

template <class T>
struct point_t<T, 2> {
    using value_type = T;
    static constexpr int dimension = 2;

    T x{};
    T y{};

    constexpr point_t() = default;
    constexpr point_t(T x_, T y_) : x(x_), y(y_) {}

    constexpr T& operator[](int i) { return i == 0 ? x : y; }
    constexpr const T& operator[](int i) const { return i == 0 ? x : y; }

    constexpr point_t& operator+=(const point_t& p)
    {
        x += p.x;
        y += p.y;
        return *this;
    }
    constexpr point_t& operator-=(const point_t& p)
    {
        x -= p.x;
        y -= p.y;
        return *this;
    }
    constexpr point_t& operator*=(T s)
    {
        x *= s;
        y *= s;
        return *this;
    }
    constexpr point_t operator-() const { return {-x, -y}; }
};

using point_2 = point_t<double, 2>;

template <class T>
constexpr point_t<T, 2> operator+(point_t<T, 2> a, const point_t<T, 2>& b) { return a += b; }
template <class T>
constexpr point_t<T, 2> operator-(point_t<T, 2> a, const point_t<T, 2>& b) { return a -= b; }
template <class T>
constexpr point_t<T, 2> operator*(point_t<T, 2> a, T s) { return a *= s; }
template <class T>
constexpr point_t<T, 2> operator*(T s, point_t<T, 2> a) { return a *= s; }
// Dot product.
template <class T>
constexpr T operator*(const point_t<T, 2>& a, const point_t<T, 2>& b) { return a.x * b.x + a.y * b.y; }

template <class T>
T norm(const point_t<T, 2>& p) { return std::sqrt(p * p); }
template <class T>
T distance(const point_t<T, 2>& p, const point_t<T, 2>& q) { return norm(q - p); }

template <class T>
constexpr bool eq(const point_t<T, 2>& p, const point_t<T, 2>& q, T e = epsilon<T>())
{
    return eq(p.x, q.x, e) && eq(p.y, q.y, e);
}

}  // namespace cg
