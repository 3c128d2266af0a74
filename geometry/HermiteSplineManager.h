// The curve through a list of control points, with per-point tangents that
// are either explicit or derived from the neighbours.
#pragma once

#include <cstddef>
#include <vector>

#include "geometry/HermiteSpline.h"

namespace cg {

template <class P = point_2>
class HermiteSplineManager {
public:
    using scalar = typename P::value_type;
    static constexpr P kZero{};

#pragma pack(push, 1)
    // Per control point: whether each side's tangent is the default one, and
    // the tangent with which the curve arrives (left) and leaves (right).
    // The tangents sit unaligned: they are copied in from an aligned zero,
    // never constructed in place, since a point's constructor may not run
    // on an unaligned object.
    struct LRDerivatives {
        bool leftDefault = true;
        bool rightDefault = true;
        P left = kZero;
        P right = kZero;
    };
#pragma pack(pop)

    int GetNumPoints() const { return static_cast<int>(m_points.size()); }
    const P& GetPoint(int i) const { return m_points[static_cast<size_t>(i)]; }
    P GetLeftDirection(int i) const { return m_derivs[static_cast<size_t>(i)].left; }
    P GetRightDirection(int i) const { return m_derivs[static_cast<size_t>(i)].right; }
    const LRDerivatives& GetDerivatives(int i) const { return m_derivs[static_cast<size_t>(i)]; }
    const HermiteSpline<P>& GetSpline() const { return m_spline; }
    scalar GetTension() const { return m_tension; }

    // Only the last two segments change when a point is appended.
    void PushBack(const P& p)
    {
        m_points.push_back(p);
        m_derivs.push_back(LRDerivatives{});
        const int n = GetNumPoints();
        if (n >= 2) m_spline.push_back(CubicPolynom<P>{});
        SetDefaultDirection(n - 2);
        for (int i = n - 3 < 0 ? 0 : n - 3; i <= n - 2; ++i) ReCalcCoefs(i);
    }

    void SetDirection(int i, const P& d)
    {
        LRDerivatives& r = m_derivs[static_cast<size_t>(i)];
        r.left = d;
        r.right = d;
        r.leftDefault = false;
        r.rightDefault = false;
        if (i > 0) ReCalcCoefs(i - 1);
        if (i < GetNumPoints() - 1) ReCalcCoefs(i);
    }

    void SetDefaultDirection(int i)
    {
        const int n = GetNumPoints();
        if (i == 0 || (n > 0 && i == n - 1)) {
            LRDerivatives& r = m_derivs[static_cast<size_t>(i)];
            r = LRDerivatives{};
        } else if (i > 0 && i < n - 1) {
            const P prev = m_points[static_cast<size_t>(i - 1)];
            const P cur = m_points[static_cast<size_t>(i)];
            const P next = m_points[static_cast<size_t>(i + 1)];
            const P chord = next - prev;
            const scalar g = norm(chord);
            const scalar leftRatio = g > 0 ? norm(cur - prev) / g : scalar(0);
            const scalar rightRatio = g > 0 ? norm(next - cur) / g : scalar(0);
            LRDerivatives& r = m_derivs[static_cast<size_t>(i)];
            r.left = chord * (m_tension * leftRatio);
            r.right = chord * (m_tension * rightRatio);
            r.leftDefault = false;
            r.rightDefault = false;
        }
    }

    void ReCalcCoefs(int i)
    {
        const size_t a = static_cast<size_t>(i);
        const P A = m_points[a];
        const P B = m_points[a + 1];
        const P d = B - A;
        const P R = m_derivs[a].right;
        const P L = m_derivs[a + 1].left;
        const bool r = m_derivs[a].rightDefault;
        const bool l = m_derivs[a + 1].leftDefault;
        CubicPolynom<P>& c = m_spline[a];
        c.C0 = A;
        if (r && l) {
            c.C1 = d;
            c.C2 = P{};
            c.C3 = P{};
        } else if (!r && !l) {
            c.C1 = R;
            c.C2 = d * scalar(3) - R * scalar(2) - L;
            c.C3 = R + L - d * scalar(2);
        } else if (l) {
            c.C1 = R;
            c.C2 = (d - R) * scalar(1.5);
            c.C3 = (d - R) - c.C2;
        } else {
            c.C2 = P{};
            c.C3 = (L - d) * scalar(0.5);
            c.C1 = (d - c.C3) - c.C2;
        }
    }

    P Interpolate(scalar t) const
    {
        if (m_points.size() == 1) return m_points.front();
        return m_spline(t);
    }

    // Keeps the capacity: the editors rebuild the curve on every mouse move.
    void Clear()
    {
        m_points.clear();
        m_derivs.clear();
        m_spline.clear();
    }

private:
    std::vector<P> m_points;
    std::vector<LRDerivatives> m_derivs;
    HermiteSpline<P> m_spline;
    scalar m_tension = scalar(0.5);
};

static_assert(sizeof(HermiteSplineManager<>::LRDerivatives) == 34);

}  // namespace cg
