#include "sim/CpuStepper.h"

#include <unistd.h>

#include <algorithm>
#include <exception>

#include "sim/CpuStepKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

// Polls before blocking: a hand-off between steps is a few microseconds, far
// shorter than a sleep and wake-up through the kernel.
constexpr int kSpins = 4000;

// Below this many interior cells a second thread costs more than it gains.
constexpr int64_t kCellsForTwoThreads = 16384;

constexpr int kMaxThreads = 64;

// The last-level cache, or a common size when the system does not say.
int64_t LastLevelCacheBytes()
{
#if defined(_SC_LEVEL3_CACHE_SIZE)
    const long bytes = sysconf(_SC_LEVEL3_CACHE_SIZE);
    if (bytes > 0)
        return bytes;
#endif
    return int64_t{32} << 20;
}

// Bottom row lo in the low half, top row hi in the high half.
uint64_t PackRows(int lo, int hi)
{
    return static_cast<uint32_t>(lo) | uint64_t{static_cast<uint32_t>(hi)} << 32;
}

inline void CpuRelax()
{
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#endif
}

}  // namespace

CpuStepper::CpuStepper(int width, int height, CpuStepOptions options)
    : isa(CpuIsaSupported(options.isa) ? options.isa : BestCpuIsa()), W(width), H(height)
{
    const int rows = std::max(H - 2, 0);
    int threads = options.threads;
    if (threads <= 0) {
        const int64_t cells = int64_t{rows} * std::max(W - 2, 0);
        threads = std::thread::hardware_concurrency() >= 2 && cells >= kCellsForTwoThreads ? 2 : 1;
    }
    bandCount = std::clamp(threads, 1, std::clamp(rows, 1, kMaxThreads));
    // Lattices that stay in the last-level cache between steps are best
    // stored through it (measured here: about 1.4 times faster than streaming
    // at 1024x1024 with a 260 MiB cache); larger ones stream past it rather
    // than have each line read before it is overwritten.  Half the cache
    // leaves room for everything else.
    const int64_t stepBytes = int64_t{W} * H * int64_t{2 * sizeof(LatticeCell) + sizeof(int32_t)};
    stream = options.stores == CpuStores::Streaming ||
             (options.stores == CpuStores::Automatic && stepBytes > LastLevelCacheBytes() / 2);
    // About 4096 cells per claim: a claim costs far less than the rows.
    rowsPerClaim = std::max(1, 4096 / std::max(W, 1));
    // Margins on both sides for the partial blocks at the row ends, and one
    // spare cache line per plane: with a pitch of a multiple of 4 KiB the 27
    // planes would share a few L1 sets and evict each other.
    pitch = kRingMargin + (std::max(W, 1) + 15) / 16 * 16 + 16 + 16;
    ringFloats = size_t{3} * 9 * static_cast<size_t>(pitch);
    if (isa != CpuIsa::Scalar) {
        // 16 spare floats to place the rings on a 64-byte boundary.
        scratch.assign(ringFloats * static_cast<size_t>(bandCount) + 16, 0.0f);
        const auto address = reinterpret_cast<uintptr_t>(scratch.data());
        ring = scratch.data() + ((64 - address % 64) % 64) / sizeof(float);
    }
}

CpuStepper::~CpuStepper()
{
    if (workers.empty())
        return;
    {
        std::lock_guard lock(mutex);
        stopping.store(true);
        generation.fetch_add(1);
        wake.notify_all();
    }
    for (std::thread& t : workers)
        t.join();
}

void CpuStepper::Step(const CpuStepArgs& args)
{
    if (args.W != W || args.H != H) {
        StepReference(args);  // the rings were sized for another grid
        return;
    }
    job = args;
    Dispatch();
}

void CpuStepper::RunSpans(size_t count, SpanFunction run, const void* context)
{
    // A short pass is not worth waking the other thread.
    if (count < static_cast<size_t>(kCellsForTwoThreads)) {
        run(context, 0, count);
        return;
    }
    spans = {run, context, count};
    Dispatch();
    spans = {};  // the bands step again
}

// Hands the current job to every band, takes band 0 itself and waits for the
// rest.
void CpuStepper::Dispatch()
{
    if (bandCount == 1) {
        RunBand(0);
        return;
    }
    if (workers.empty())
        StartWorkers();

    openRows.store(PackRows(1, H - 2));
    pending.store(bandCount - 1);
    generation.fetch_add(1);
    if (sleepers.load() > 0) {
        std::lock_guard lock(mutex);
        wake.notify_all();
    }
    RunBand(0);

    for (int n = 0; pending.load() != 0; ++n) {
        if (n < kSpins) {
            CpuRelax();
            continue;
        }
        std::unique_lock lock(mutex);
        sleepers.fetch_add(1);
        wake.wait(lock, [this] { return pending.load() == 0; });
        sleepers.fetch_sub(1);
        break;
    }
}

void CpuStepper::StartWorkers()
{
    const uint32_t seen = generation.load();
    for (int band = 1; band < bandCount; ++band) {
        try {
            workers.emplace_back([this, band, seen] { WorkerLoop(band, seen); });
        } catch (const std::exception&) {
            // No thread to be had: share the rows among those that started.
            bandCount = band;
            break;
        }
    }
}

void CpuStepper::WorkerLoop(int band, uint32_t seen)
{
    for (;;) {
        uint32_t g = generation.load();
        for (int n = 0; g == seen && n < kSpins; ++n) {
            CpuRelax();
            g = generation.load();
        }
        if (g == seen) {
            std::unique_lock lock(mutex);
            sleepers.fetch_add(1);
            wake.wait(lock, [this, seen] { return generation.load() != seen; });
            sleepers.fetch_sub(1);
            g = generation.load();
        }
        seen = g;
        if (stopping.load())
            return;
        RunBand(band);
        if (pending.fetch_sub(1) == 1 && sleepers.load() > 0) {
            std::lock_guard lock(mutex);
            wake.notify_all();
        }
    }
}

void CpuStepper::RunBand(int band)
{
    if (spans.run) {
        const size_t first = spans.count * static_cast<size_t>(band) / static_cast<size_t>(bandCount);
        const size_t last = spans.count * static_cast<size_t>(band + 1) / static_cast<size_t>(bandCount);
        if (first < last)
            spans.run(spans.context, first, last);
        return;
    }
    const int rows = H - 2;
    if (bandCount == 2) {
        RunFromEnd(band);
        return;
    }
    const int yBegin = 1 + static_cast<int>(int64_t{rows} * band / bandCount);
    const int yEnd = 1 + static_cast<int>(int64_t{rows} * (band + 1) / bandCount);
    RunRows(band, yBegin, yEnd - yBegin, 1, false);
}

// Two threads work from the bottom and the top row towards each other, a few
// rows per claim, until they meet: when the other core is busy with another
// program the split follows what each thread actually gets done, and each
// thread's rows stay contiguous, so its ring never needs reloading.
void CpuStepper::RunFromEnd(int side)
{
    bool primed = false;
    uint64_t range = openRows.load();
    for (;;) {
        int lo, hi, n;
        uint64_t rest;
        do {
            lo = static_cast<int>(range & 0xFFFFFFFFu);
            hi = static_cast<int>(range >> 32);
            if (lo > hi)
                return;
            n = std::min(rowsPerClaim, hi - lo + 1);
            rest = side == 0 ? PackRows(lo + n, hi) : PackRows(lo, hi - n);
        } while (!openRows.compare_exchange_weak(range, rest));
        range = rest;
        RunRows(side, side == 0 ? lo : hi, n, side == 0 ? 1 : -1, primed);
        primed = true;
    }
}

void CpuStepper::RunRows(int band, int yFirst, int count, int dir, bool primed)
{
    switch (isa) {
#if defined(EDDYRA_X86_KERNELS)
    case CpuIsa::Avx512:
        StepRowsAvx512(job, yFirst, count, dir, primed, Ring(band), pitch, stream);
        return;
    case CpuIsa::Avx2:
        StepRowsAvx2(job, yFirst, count, dir, primed, Ring(band), pitch, stream);
        return;
#endif
    default:
        for (int n = 0; n < count; ++n)
            StepRowSpan(job, yFirst + n * dir, 1, W - 1);
        return;
    }
}
