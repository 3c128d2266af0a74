// How many steps each collision model runs before it blows up (a value not
// finite or beyond d2q9::kBlownUpMagnitude) at the corners of the
// editor's parameter range: inflow up to 0.2, invViscosity from 10 to 5000,
// a disc (the vortex street) or a field of 30 obstacles, on the default
// 512 x 256 grid of the processor solver.
//
//   stability_bench [--steps N] [--every K]
//
// Each run goes to N steps (default 100000) and looks at its lattice every K
// steps (default 100), the way the window does about once a second; a run
// that blows up shows the step of the look that found it.  The
// runs take from seconds to several minutes each; the rows print as they
// finish.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/sim/FlowScenes.h"

namespace {

struct Corner {
    const char* scene;
    float ux, uy, invViscosity;
};

// Steps until the first look that finds the flow blown up, or 0 when it
// holds to the end.
int64_t StepsToBlowUp(const FlowSetting& setting, const std::vector<Obstacle>& obstacles, int64_t steps, int every)
{
    auto sim = StartFlow(setting, obstacles);
    for (int64_t done = 0; done < steps;) {
        const int n = static_cast<int>(std::min<int64_t>(every, steps - done));
        sim->Step(n);
        done += n;
        if (sim->BlownUp())
            return done;
    }
    return 0;
}

bool ParseCount(const char* text, long long low, long long& value)
{
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= 1'000'000'000;
}

}  // namespace

int main(int argc, char** argv)
{
    long long steps = 100000, every = 100;
    for (int n = 1; n < argc; ++n) {
        const bool ok = n + 1 < argc && ((std::strcmp(argv[n], "--steps") == 0 && ParseCount(argv[n + 1], 1, steps)) ||
                                         (std::strcmp(argv[n], "--every") == 0 && ParseCount(argv[n + 1], 1, every)));
        if (!ok) {
            std::fprintf(stderr, "usage: %s [--steps N] [--every K]\n", argv[0]);
            return 2;
        }
        ++n;
    }

    const FlowSetting grid;
    const std::vector<Obstacle> disc = {Disc(grid.W / 4, grid.H / 2 + 1, 20)};
    const std::vector<Obstacle> field = RandomField(grid.W, grid.H);
    // The box's corners for both scenes, the default inflow beside them, the
    // far corner of both velocity components, and a setting users met.
    const Corner corners[] = {
        {"disc", 0.1f, 0.0f, 10.0f},   {"disc", 0.1f, 0.0f, 5000.0f},  {"disc", 0.2f, 0.0f, 10.0f},
        {"disc", 0.2f, 0.0f, 5000.0f}, {"field", 0.1f, 0.0f, 10.0f},   {"field", 0.1f, 0.0f, 5000.0f},
        {"field", 0.2f, 0.0f, 10.0f},  {"field", 0.2f, 0.0f, 5000.0f}, {"field", 0.12f, 0.03f, 60.0f},
        {"disc", 0.2f, 0.2f, 5000.0f}, {"field", 0.2f, 0.2f, 5000.0f},
    };

    std::printf("Steps until each collision model blows up, %d x %d grid, processor solver, up to %lld steps\n"
                "(a look every %lld steps; \"holds\": sound at the end)\n\n",
                grid.W, grid.H, steps, every);
    std::printf("%-6s %-14s %12s %14s %14s %9s\n", "scene", "inflow", "invViscosity", "BGK", "Smagorinsky",
                "seconds");
    for (const Corner& c : corners) {
        const auto start = std::chrono::steady_clock::now();
        std::string cells[2];
        for (const CollisionModel model : {CollisionModel::Bgk, CollisionModel::Smagorinsky}) {
            FlowSetting s = grid;
            s.ux = c.ux;
            s.uy = c.uy;
            s.invViscosity = c.invViscosity;
            s.model = model;
            const int64_t blown = StepsToBlowUp(s, c.scene[0] == 'd' ? disc : field, steps, static_cast<int>(every));
            cells[model == CollisionModel::Bgk ? 0 : 1] = blown == 0 ? "holds" : std::to_string(blown);
        }
        char inflow[32];
        std::snprintf(inflow, sizeof inflow, "(%.2f, %.2f)", static_cast<double>(c.ux), static_cast<double>(c.uy));
        std::printf("%-6s %-14s %12g %14s %14s %9.0f\n", c.scene, inflow, static_cast<double>(c.invViscosity),
                    cells[0].c_str(), cells[1].c_str(),
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::fflush(stdout);
    }
    return 0;
}
