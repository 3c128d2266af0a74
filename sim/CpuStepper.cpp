#include "sim/CpuStepper.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <fstream>
#include <string>

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

// Bytes of the cache of the given level as the system describes this
// machine's processor, or 0 when it does not say.  The per-processor cache
// description comes first: the C library's figure is read from the processor
// itself, which in a virtual machine describes the host's whole socket.
int64_t CacheBytes(int level)
{
    int64_t largest = 0;
    for (int index = 0; index < 16; ++index) {
        const std::string dir = "/sys/devices/system/cpu/cpu0/cache/index" + std::to_string(index) + "/";
        std::ifstream levelFile(dir + "level");
        int fileLevel = 0;
        if (!(levelFile >> fileLevel))
            break;
        if (fileLevel != level)
            continue;
        std::ifstream sizeFile(dir + "size");
        int64_t amount = 0;
        char unit = 0;
        if (!(sizeFile >> amount) || amount <= 0 || amount > (int64_t{1} << 30))
            continue;
        sizeFile >> unit;
        const int64_t bytes = unit == 'K' ? amount << 10 : unit == 'M' ? amount << 20 : unit == 'G' ? amount << 30 : amount;
        largest = std::max(largest, bytes);
    }
    if (largest > 0)
        return largest;
#if defined(_SC_LEVEL2_CACHE_SIZE) && defined(_SC_LEVEL3_CACHE_SIZE)
    const long bytes = sysconf(level == 2 ? _SC_LEVEL2_CACHE_SIZE : _SC_LEVEL3_CACHE_SIZE);
    if (bytes > 0)
        return bytes;
#endif
    return 0;
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

// Streamed stores are weakly ordered: they must be complete before the
// hand-off tells another thread that the step is done.
inline void FenceStreamedStores()
{
#if defined(__x86_64__) || defined(__i386__)
    _mm_sfence();
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
    // Lattices that stay in the caches between steps are best stored through
    // them; larger ones stream past them rather than have each line read
    // before it is overwritten.  Within the core's own caches the first is
    // certain, beyond half the last-level cache (half: room for everything
    // else) the second.  In between the answer depends on how much of the
    // last-level cache this process really gets, which the reported size
    // does not tell: in a virtual machine it is often the host's whole
    // socket, shared with other guests.  There the first steps time both.
    const int64_t stepBytes = int64_t{W} * H * int64_t{2 * sizeof(LatticeCell) + sizeof(int32_t)};
    CpuStores stores = options.stores;
    if (stores == CpuStores::Automatic) {
        const int64_t nearBytes = CacheBytes(2);
        const int64_t llc = CacheBytes(3);
        const int64_t lastBytes = llc > 0 ? llc : nearBytes;
        if (stepBytes <= std::max<int64_t>(nearBytes, int64_t{256} << 10))
            stores = CpuStores::Cached;
        else if (lastBytes > 0 && stepBytes > lastBytes / 2)
            stores = CpuStores::Streaming;
        else
            stores = CpuStores::Timed;
    }
    if (stores == CpuStores::Timed)
        trial.emplace();
    stream = trial ? trial->StreamNext() : stores == CpuStores::Streaming;
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
    planeJob = false;
    TimedDispatch();
}

void CpuStepper::Step(const CpuStepLattice& current, CpuStepLattice& other, const int32_t* obstacleMask, float omega,
                      CollisionModel model)
{
    CpuPlaneStepArgs args = PlaneStepArgs(current, other, obstacleMask, omega);
    args.model = model;
    if (args.W != W || args.H != H) {
        StepPlaneRowsGeneric(args, 1, args.H - 1);  // the bands were laid out for another grid
        return;
    }
    planes = args;
    planeJob = true;
    TimedDispatch();
}

// A step, timed while the store mode is being chosen.
void CpuStepper::TimedDispatch()
{
    if (!ChoosingStores()) {
        Dispatch();
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    Dispatch();
    trial->Record(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    stream = trial->StreamNext();
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
    } else {
        const int yBegin = 1 + static_cast<int>(int64_t{rows} * band / bandCount);
        const int yEnd = 1 + static_cast<int>(int64_t{rows} * (band + 1) / bandCount);
        RunRows(band, yBegin, yEnd - yBegin, 1, false);
    }
    // The plane kernels leave their streamed stores unfenced: a fence waits
    // for them all to reach memory, once per step and thread is enough.
    if (planeJob && stream)
        FenceStreamedStores();
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
    if (planeJob) {
        // Rows of planes need no ring: any order, any claim.
        const int yBegin = dir > 0 ? yFirst : yFirst - count + 1;
        switch (isa) {
#if defined(EDDYRA_X86_KERNELS)
        case CpuIsa::Avx512:
            StepPlaneRowsAvx512(planes, yBegin, yBegin + count, stream);
            return;
        case CpuIsa::Avx2:
            StepPlaneRowsAvx2(planes, yBegin, yBegin + count, stream);
            return;
#endif
        default:
            StepPlaneRowsGeneric(planes, yBegin, yBegin + count);
            return;
        }
    }
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
