#include "bench/sim/Triad.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Built at -O3, so that the loop is vectorised: a scalar loop issues one
// element per cycle or so, which on a fast memory system is the limit rather
// than the memory, and the bound would come out too low.
void TriadPart(float* __restrict a, const float* __restrict b, const float* __restrict c, size_t begin, size_t end)
{
    for (size_t i = begin; i < end; ++i)
        a[i] = b[i] + 3.0f * c[i];
}

}  // namespace

Triad MeasureTriad()
{
    constexpr size_t kElements = size_t{64} << 20;  // 256 MiB per array
    std::vector<float> a(kElements, 0.0f), b(kElements, 1.0f), c(kElements, 2.0f);
    const auto best = [&](int threads) {
        double gbs = 0.0;
        for (int rep = 0; rep < 10; ++rep) {
            const auto start = Clock::now();
            std::vector<std::thread> pool;
            for (int t = 1; t < threads; ++t)
                pool.emplace_back(TriadPart, a.data(), b.data(), c.data(), kElements * t / threads,
                                  kElements * (t + 1) / threads);
            TriadPart(a.data(), b.data(), c.data(), 0, kElements / threads);
            for (auto& t : pool)
                t.join();
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            gbs = std::max(gbs, 12.0 * kElements / seconds / 1e9);
        }
        return gbs;
    };
    Triad triad;
    triad.oneThread = best(1);
    triad.twoThreads = best(2);
    return triad;
}
