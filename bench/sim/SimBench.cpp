// Million lattice updates per second (interior cells per second / 1e6) of the
// plain loop and the optimised step in both lattice layouts, next to the bound
// the memory bandwidth of this machine puts on them, and the picture's
// per-frame staging pass.  About a minute with the default sizes.
//
//   sim_bench [--sizes WxH,WxH,...] [--widest]
//
// --sizes picks the grids (default 512x256,1024x1024,2048x2048); --widest
// measures only the widest vector kernel beside the plain loop.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <unistd.h>

#include "bench/sim/PlainLoop.h"
#include "bench/sim/Triad.h"
#include "sim/CpuStep.h"
#include "sim/CpuStepLattice.h"
#include "sim/CpuStepper.h"
#include "sim/ObstacleMask.h"
#include "sim/VelocityStaging.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Best rate, in calls per second, of eight runs of at least minSeconds each:
// on a shared machine the best short run is the one least disturbed.
double BestRate(const std::function<void()>& fn, double minSeconds)
{
    fn();  // warm up caches, page tables and worker threads
    double best = 0.0;
    for (int rep = 0; rep < 8; ++rep) {
        const auto start = Clock::now();
        long calls = 0;
        do {
            fn();
            ++calls;
        } while (Seconds(start) < minSeconds);
        best = std::max(best, static_cast<double>(calls) / Seconds(start));
    }
    return best;
}

// Per cell update the step reads 36 bytes of the current lattice and 4 of
// the mask and writes 36 bytes of the other one.
constexpr double kBytesPerCell = 36.0 + 36.0 + 4.0;

// A developed-looking flow: uniform stream, a cylinder and a plate; the same
// state in cell order and as planes.
struct Grid {
    int W, H;
    std::vector<LatticeCell> cells[2];
    std::unique_ptr<CpuStepLattice> planes[2];
    std::vector<int32_t> mask;
    int cur = 0;

    Grid(int w, int h) : W(w), H(h), mask(static_cast<size_t>(w) * static_cast<size_t>(h))
    {
        const LatticeCell eq = ComputeEquilibrium(1.0f, 0.1f, 0.0f);
        for (int k = 0; k < 2; ++k) {
            cells[k].assign(mask.size(), eq);
            // Skewed like the solver's two lattices.
            planes[k] = std::make_unique<CpuStepLattice>(W, H, 32 * k);
            planes[k]->Fill(eq);
        }
        BuildObstacleMask(mask, W, H,
                          std::list<Obstacle>{{1, W / 5, H / 2 - H / 10, H / 5, H / 5}, {0, W / 2, H / 4, 4, H / 3}});
    }
    CpuStepArgs Args(float omega)
    {
        CpuStepArgs a{cells[cur].data(), cells[1 - cur].data(), mask.data(), W, H, omega};
        cur = 1 - cur;
        return a;
    }
    void StepPlanes(CpuStepper& stepper, float omega, CollisionModel model = CollisionModel::Bgk)
    {
        stepper.Step(*planes[cur], *planes[1 - cur], mask.data(), omega, model);
        cur = 1 - cur;
    }
    double Cells() const { return static_cast<double>(W - 2) * (H - 2); }
};

constexpr float kOmega = 1.0f / (3.0f / 50.0f + 0.5f);

struct Options {
    std::vector<std::pair<int, int>> sizes = {{512, 256}, {1024, 1024}, {2048, 2048}};
    bool widestOnly = false;
};

bool ParseSizes(const char* text, std::vector<std::pair<int, int>>& sizes)
{
    sizes.clear();
    std::string list(text);
    size_t at = 0;
    while (at <= list.size()) {
        const size_t end = std::min(list.find(',', at), list.size());
        const std::string item = list.substr(at, end - at);
        int w = 0, h = 0;
        char tail = 0;
        if (std::sscanf(item.c_str(), "%dx%d%c", &w, &h, &tail) != 2 || w < 3 || h < 3 || w > 16384 || h > 16384)
            return false;
        sizes.emplace_back(w, h);
        at = end + 1;
    }
    return !sizes.empty();
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int n = 1; n < argc; ++n) {
        if (std::strcmp(argv[n], "--widest") == 0) {
            options.widestOnly = true;
        } else if (std::strcmp(argv[n], "--sizes") == 0 && n + 1 < argc) {
            if (!ParseSizes(argv[++n], options.sizes))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

void PrintRow(const char* grid, const char* layout, const std::string& variant, int threads, double mlups,
              double plain, const Triad& triad)
{
    const double bw = threads == 1 ? triad.oneThread : triad.twoThreads;
    std::printf("%-11s %-7s %-28s %7d %9.1f %8.2f %10.0f%%\n", grid, layout, variant.c_str(), threads, mlups,
                mlups / plain, 100.0 * mlups * kBytesPerCell / (bw * 1e3));
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [--sizes WxH,WxH,...] [--widest]\n"
                             "  sizes from 3x3 to 16384x16384; default 512x256,1024x1024,2048x2048\n",
                     argv[0]);
        return 2;
    }

    std::printf("Lattice step benchmark (D2Q9, float, MLUPS = million interior cell updates per second)\n");
    std::printf("hardware threads: %u, widest vector kernel: %s, last-level cache reported: %ld MiB\n\n",
                std::thread::hardware_concurrency(), CpuIsaName(BestCpuIsa()), sysconf(_SC_LEVEL3_CACHE_SIZE) >> 20);

    const Triad before = MeasureTriad();
    std::printf("memory bandwidth (triad, 3 arrays of 256 MiB): %.1f GB/s on 1 thread, %.1f GB/s on 2 threads\n",
                before.oneThread, before.twoThreads);
    std::printf("bandwidth bound at %.0f bytes per cell update: %.0f MLUPS (1 thread), %.0f MLUPS (2 threads)\n\n",
                kBytesPerCell, before.oneThread * 1e3 / kBytesPerCell, before.twoThreads * 1e3 / kBytesPerCell);

    std::vector<CpuIsa> isas;
    for (CpuIsa isa : {CpuIsa::Scalar, CpuIsa::Avx2, CpuIsa::Avx512})
        if (CpuIsaSupported(isa) && (!options.widestOnly || isa == BestCpuIsa()))
            isas.push_back(isa);

    // The rows are measured first and printed with the bound of the triad
    // measured before and after them, whichever is higher: the bound of a
    // machine whose load changed during the run is the one it reached.
    struct Row {
        std::string grid, layout, variant;
        int threads;
        double mlups, plain;
    };
    std::vector<Row> rows;
    for (const auto& [w, h] : options.sizes) {
        Grid grid(w, h);
        const std::string name = std::to_string(w) + "x" + std::to_string(h);
        const double seconds = grid.Cells() > 1e6 ? 0.12 : 0.08;
        const double plain = BestRate([&] { StepPlainLoopO2(grid.Args(kOmega)); }, seconds) * grid.Cells() / 1e6;
        rows.push_back({name, "cells", "plain loop (-O2)", 1, plain, plain});
        for (const char* layout : {"cells", "planes"}) {
            const bool planes = layout[0] == 'p';
            for (CpuIsa isa : isas) {
                // The widest kernel with each way of storing and the choice
                // the solver makes; the others as the solver would choose.
                std::vector<CpuStores> storeModes = {CpuStores::Automatic};
                if (isa == isas.back() && isa != CpuIsa::Scalar)
                    storeModes = {CpuStores::Cached, CpuStores::Streaming, CpuStores::Automatic};
                for (CpuStores stores : storeModes)
                    for (int threads : {1, 2}) {
                        CpuStepper stepper(grid.W, grid.H, {isa, threads, stores});
                        const auto step = [&] {
                            if (planes)
                                grid.StepPlanes(stepper, kOmega);
                            else
                                stepper.Step(grid.Args(kOmega));
                        };
                        while (stepper.ChoosingStores())
                            step();
                        const double mlups = BestRate(step, seconds) * grid.Cells() / 1e6;
                        std::string variant = CpuIsaName(isa);
                        if (isa != CpuIsa::Scalar) {
                            variant += stepper.Streaming() ? ", streaming" : ", cached";
                            if (stores == CpuStores::Automatic && storeModes.size() > 1)
                                variant += " (auto)";
                        }
                        rows.push_back({name, layout, variant, threads, mlups, plain});
                    }
            }
        }
    }
    const Triad after = MeasureTriad();
    const Triad triad{std::max(before.oneThread, after.oneThread), std::max(before.twoThreads, after.twoThreads)};
    std::printf("after the rows: triad %.1f GB/s on 1 thread, %.1f GB/s on 2 threads; the bound below uses the\n"
                "higher figures: %.1f and %.1f GB/s, %.0f and %.0f MLUPS\n\n",
                after.oneThread, after.twoThreads, triad.oneThread, triad.twoThreads,
                triad.oneThread * 1e3 / kBytesPerCell, triad.twoThreads * 1e3 / kBytesPerCell);

    std::printf("%-11s %-7s %-28s %7s %9s %8s %11s\n", "grid", "layout", "variant", "threads", "MLUPS", "x plain",
                "% of bound");
    for (const Row& r : rows)
        PrintRow(r.grid.c_str(), r.layout.c_str(), r.variant, r.threads, r.mlups, r.plain, triad);

    // The pass the CPU solver's picture makes over the lattice every frame.
    std::printf("\n%-11s %-7s %-28s %7s %9s\n", "grid", "layout", "velocity staging", "threads", "us/pass");
    for (const auto& [w, h] : options.sizes) {
        Grid grid(w, h);
        for (int n = 0; n < 20; ++n)
            StepReference(grid.Args(kOmega));  // a flow that is not uniform
        grid.planes[grid.cur]->CopyFrom(grid.cells[grid.cur].data());
        const size_t cells = static_cast<size_t>(grid.W) * static_cast<size_t>(grid.H);
        std::vector<float> texels(cells * 4);
        const std::string name = std::to_string(w) + "x" + std::to_string(h);
        for (const char* layout : {"cells", "planes"})
            for (int threads : {1, 2}) {
                CpuStepper stepper(grid.W, grid.H, {BestCpuIsa(), threads, CpuStores::Automatic});
                const LatticeCell* lattice = grid.cells[grid.cur].data();
                const CpuStepLattice* planes = grid.planes[grid.cur].get();
                float* out = texels.data();
                const bool fromPlanes = layout[0] == 'p';
                const double rate = BestRate(
                    [&] {
                        stepper.ForEachSpan(cells, [=](size_t first, size_t last) {
                            if (fromPlanes)
                                StageVelocities(*planes, first, last, out, BestCpuIsa());
                            else
                                StageVelocities(lattice, first, last, out);
                        });
                    },
                    0.05);
                std::printf("%-11s %-7s %-28s %7d %9.1f\n", name.c_str(), layout, "texels from the lattice",
                            stepper.Threads(), 1e6 / rate);
            }
    }
    // The collision models side by side, as the solver steps them.
    std::printf("\n%-11s %-7s %-28s %7s %9s %11s\n", "grid", "layout", "collision (widest, auto)", "threads", "MLUPS",
                "x BGK");
    for (const auto& [w, h] : options.sizes) {
        Grid grid(w, h);
        const std::string name = std::to_string(w) + "x" + std::to_string(h);
        const double seconds = grid.Cells() > 1e6 ? 0.12 : 0.08;
        for (int threads : {1, 2}) {
            double bgk = 0.0;
            for (const CollisionModel model : {CollisionModel::Bgk, CollisionModel::Smagorinsky}) {
                CpuStepper stepper(grid.W, grid.H, {BestCpuIsa(), threads, CpuStores::Automatic});
                const auto step = [&] { grid.StepPlanes(stepper, kOmega, model); };
                while (stepper.ChoosingStores())
                    step();
                const double mlups = BestRate(step, seconds) * grid.Cells() / 1e6;
                if (model == CollisionModel::Bgk)
                    bgk = mlups;
                std::printf("%-11s %-7s %-28s %7d %9.1f %11.2f\n", name.c_str(), "planes",
                            model == CollisionModel::Bgk ? "BGK" : "Smagorinsky", stepper.Threads(), mlups,
                            mlups / bgk);
            }
        }
    }

    // What the window's blow-up check costs, once a second.
    std::printf("\n%-11s %-28s %9s\n", "grid", "blow-up check", "us/pass");
    for (const auto& [w, h] : options.sizes) {
        const Grid grid(w, h);
        const std::string name = std::to_string(w) + "x" + std::to_string(h);
        bool blownUp = false;
        const double rate = BestRate([&] { blownUp |= grid.planes[0]->AnyBlownUp(); }, 0.05);
        std::printf("%-11s %-28s %9.1f%s\n", name.c_str(), "every value of the lattice", 1e6 / rate,
                    blownUp ? " (blown up?)" : "");
    }

    std::printf("\ncells: the lattice as one record per cell, rearranged in registers on every step; planes:\n"
                "one array per direction, the solver's layout.  cached: results are stored through the cache;\n"
                "streaming: they bypass it; (auto): the mode the solver settles on (by size, else by timing\n"
                "both on the first steps).  %% of bound above 100: the lattices were served from a cache.\n");
    return 0;
}
