// A Hermite curve used as a function y = f(x): control points sorted by x,
// every one with an explicit direction that never points backwards in x.
#pragma once

#include <algorithm>
#include <vector>

#include "geometry/HermiteSplineManager.h"

namespace cg {

template <class P = point_2>
class HermiteSplineF {
public:
    using scalar = typename P::value_type;

    // 32 bytes for doubles: x, y, dx, dy, the layout of the spline points
    // the variables store.
    struct entry {
        P point;
        P direction;
    };

    int size() const { return m_manager.GetNumPoints(); }
    bool empty() const { return size() == 0; }
    const P& operator[](int i) const { return m_manager.GetPoint(i); }
    P dir(int i) const { return m_manager.GetLeftDirection(i); }
    void clear() { m_manager.Clear(); }
    const HermiteSplineManager<P>& manager() const { return m_manager; }

    void push_back(const P& p, const P& d)
    {
        push();
        m_work.push_back(entry{p, d});
        pop();
    }

    void erase(int i)
    {
        push();
        m_work.erase(m_work.begin() + i);
        pop();
    }

    void set_point(int i, const P& p)
    {
        push();
        m_work[static_cast<size_t>(i)].point = p;
        pop();
    }

    void set_direction(int i, const P& d)
    {
        push();
        m_work[static_cast<size_t>(i)].direction = d;
        pop();
    }

    // The y of the curve at abscissa x, found by bisecting the global
    // parameter.  An empty curve has no value and yields 0.
    scalar operator()(scalar x) const
    {
        const int n = size();
        if (n == 0) return scalar(0);
        if (x < m_manager.GetPoint(0).x) return m_manager.GetPoint(0).y;
        if (x > m_manager.GetPoint(n - 1).x) return m_manager.GetPoint(n - 1).y;
        scalar lo = 0;
        scalar hi = scalar(n - 1);
        while (hi - lo > scalar(0.001)) {
            const scalar mid = (lo + hi) / 2;
            if (x > m_manager.Interpolate(mid).x) lo = mid;
            else hi = mid;
        }
        return m_manager.Interpolate((lo + hi) / 2).y;
    }

private:
    void push()
    {
        m_work.clear();
        const int n = size();
        for (int i = 0; i < n; ++i) m_work.push_back(entry{m_manager.GetPoint(i), m_manager.GetLeftDirection(i)});
    }

    void pop()
    {
        std::stable_sort(m_work.begin(), m_work.end(),
                         [](const entry& a, const entry& b) { return a.point.x < b.point.x; });
        for (entry& e : m_work)
            if (e.direction.x < 0) e.direction.x = 0;
        m_work.erase(std::unique(m_work.begin(), m_work.end(),
                                 [](const entry& a, const entry& b) { return eq(a.point, b.point); }),
                     m_work.end());
        m_manager.Clear();
        for (const entry& e : m_work) m_manager.PushBack(e.point);
        for (size_t k = 0; k < m_work.size(); ++k) m_manager.SetDirection(static_cast<int>(k), m_work[k].direction);
        m_work.clear();
    }

    std::vector<entry> m_work;
    HermiteSplineManager<P> m_manager;
};

}  // namespace cg
