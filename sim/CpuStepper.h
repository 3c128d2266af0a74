// The fast CPU step: vector kernels on a band of rows per thread.  The caller's
// thread takes the first band; persistent workers, started on first use, take
// the others.  Two threads share the rows dynamically, from either end.
// Every instruction set, thread count and store mode gives the same bits as
// StepReference.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "sim/CpuIsa.h"
#include "sim/CpuStep.h"
#include "sim/CpuStepLattice.h"
#include "sim/CpuStepStoreTrial.h"

// How the vector kernels store results into the other lattice.
enum class CpuStores {
    Automatic,  // cached for lattices within the core's own caches, streaming for those larger than
                // half the last-level cache, timed in between
    Cached,
    Streaming,  // bypass the cache: saves reading each line before it is written
    Timed,      // time both on the first steps and keep the faster
};

struct CpuStepOptions {
    CpuIsa isa = BestCpuIsa();  // an unsupported choice falls back to the best one
    int threads = 0;            // 0: both cores for grids large enough to gain
    CpuStores stores = CpuStores::Automatic;
};

class CpuStepper {
public:
    // Scratch for a grid W cells wide is allocated here, never in Step.
    CpuStepper(int W, int H, CpuStepOptions options = {});
    ~CpuStepper();
    CpuStepper(const CpuStepper&) = delete;
    CpuStepper& operator=(const CpuStepper&) = delete;

    // One time step: reads args.current only, writes interior cells of
    // args.other.  A grid of another size than the constructor's is stepped
    // by the plain loop.
    void Step(const CpuStepArgs& args);
    // The same over lattices kept as planes, the solver's own layout: the
    // step streams through memory with no rearrangement of cells.  The mask
    // is W*H in cell order.  Lattices of another size than the constructor's
    // are stepped by the generic kernel on the caller's thread; one lattice
    // as both, or two of different sizes, throw std::invalid_argument.
    void Step(const CpuStepLattice& current, CpuStepLattice& other, const int32_t* obstacleMask, float omega,
              CollisionModel model = CollisionModel::Bgk);

    // Runs fn over [0, count) split into one contiguous span per thread, on
    // the same threads as the steps; returns when every span is done.  For
    // per-cell passes between steps (the picture's staging) that would
    // otherwise leave the second core idle.
    template <typename Fn>
    void ForEachSpan(size_t count, const Fn& fn)
    {
        RunSpans(count, [](const void* f, size_t first, size_t last) { (*static_cast<const Fn*>(f))(first, last); },
                 &fn);
    }

    CpuIsa Isa() const { return isa; }
    int Threads() const { return bandCount; }
    // The store mode of the next step; while a timed choice is being made it
    // changes from step to step.
    bool Streaming() const { return stream; }
    bool ChoosingStores() const { return trial.has_value() && trial->Running(); }

private:
    using SpanFunction = void (*)(const void* context, size_t first, size_t last);
    struct SpanJob {
        SpanFunction run = nullptr;  // null while the threads step
        const void* context = nullptr;
        size_t count = 0;
    };

    void RunSpans(size_t count, SpanFunction run, const void* context);
    void TimedDispatch();
    void Dispatch();
    void RunBand(int band);
    void RunFromEnd(int side);
    void RunRows(int band, int yFirst, int count, int dir, bool primed);
    void WorkerLoop(int band, uint32_t seen);
    void StartWorkers();
    float* Ring(int band) { return ring + static_cast<size_t>(band) * ringFloats; }

    CpuIsa isa;
    int W;
    int H;
    int bandCount;  // 1 .. threads, never more than the interior rows
    bool stream;
    int rowsPerClaim;
    int pitch;
    size_t ringFloats;
    std::vector<float> scratch;
    float* ring = nullptr;

    std::optional<CpuStepStoreTrial> trial;

    bool planeJob = false;  // which of the next two the bands step
    CpuStepArgs job{};
    CpuPlaneStepArgs planes{};
    SpanJob spans;
    std::vector<std::thread> workers;
    std::mutex mutex;
    std::condition_variable wake;
    std::atomic<uint32_t> generation{0};  // bumped to hand out a step
    std::atomic<int> pending{0};          // worker bands not yet finished
    std::atomic<uint64_t> openRows{0};    // rows not yet claimed by two threads
    std::atomic<int> sleepers{0};         // threads blocked on wake
    std::atomic<bool> stopping{false};    // set before the last bump
};
