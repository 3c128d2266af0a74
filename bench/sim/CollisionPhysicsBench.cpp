// How much Smagorinsky changes flows that BGK already computes well: the
// velocity profile of the "Poiseuille flow" preset in a narrow channel, and
// the vortex shedding period of a disc at Reynolds number 100.
//
//   collision_physics_bench
//
// About 2 minutes of one core per model on a 2 GHz processor.
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/Presets.h"
#include "bench/sim/FlowScenes.h"

namespace {

constexpr CollisionModel kModels[] = {CollisionModel::Bgk, CollisionModel::Smagorinsky};

// The streamwise velocity across the channel at column x after `steps`.
std::vector<float> ChannelProfile(CollisionModel model, const FlowSetting& base, int x, int steps)
{
    FlowSetting s = base;
    s.model = model;
    auto sim = StartFlow(s, PoiseuilleWalls(s.W, s.H));
    sim->Step(steps);
    std::vector<float> profile;
    for (const Probe& p : ColumnVelocities(*sim, x))
        profile.push_back(p.ux);
    return profile;
}

// The mean period of a sampled signal, from its upward crossings of its
// mean (interpolated between samples); 0 with fewer than two crossings.
double MeanPeriod(const std::vector<double>& samples, double sampleSteps)
{
    double mean = 0.0;
    for (double v : samples)
        mean += v;
    mean /= static_cast<double>(samples.size());
    std::vector<double> crossings;
    for (size_t n = 1; n < samples.size(); ++n) {
        const double a = samples[n - 1] - mean, b = samples[n] - mean;
        if (a < 0.0 && b >= 0.0)
            crossings.push_back((static_cast<double>(n - 1) + a / (a - b)) * sampleSteps);
    }
    if (crossings.size() < 2)
        return 0.0;
    return (crossings.back() - crossings.front()) / static_cast<double>(crossings.size() - 1);
}

}  // namespace

int main()
{
    // A channel long enough for the profile to develop (entrance length
    // about 0.06 Re h = 220 cells) and narrow enough to reach its steady
    // state (h^2 / nu = 36 000 steps).
    FlowSetting channel;
    channel.W = 512;
    channel.H = 64;
    channel.ux = 0.1f;
    channel.invViscosity = 10.0f;
    const int column = 384, channelSteps = 40000;
    std::printf("Poiseuille channel %d x %d, inflow %.2f, invViscosity %g, profile at x = %d after %d steps\n",
                channel.W, channel.H, static_cast<double>(channel.ux), static_cast<double>(channel.invViscosity),
                column, channelSteps);
    std::printf("%-12s %10s %22s %24s\n", "model", "centre ux", "largest |ux - BGK|", "rms off a parabola");
    std::vector<float> reference;
    for (const CollisionModel model : kModels) {
        const std::vector<float> profile = ChannelProfile(model, channel, column, channelSteps);
        if (reference.empty())
            reference = profile;
        // Fluid rows 2 .. H-3 between the wall rows; bounce-back puts the
        // walls half a cell beyond them.
        const double y0 = 1.5, y1 = channel.H - 2.5, centre = profile[static_cast<size_t>(channel.H / 2)];
        double largest = 0.0, parabola = 0.0, fitted = 0.0, norm = 0.0;
        for (int y = 2; y <= channel.H - 3; ++y) {
            const double shape = (y - y0) * (y1 - y);
            fitted += profile[static_cast<size_t>(y)] * shape;
            norm += shape * shape;
        }
        const double amplitude = fitted / norm;
        for (int y = 2; y <= channel.H - 3; ++y) {
            const double u = profile[static_cast<size_t>(y)];
            largest = std::fmax(largest, std::fabs(u - reference[static_cast<size_t>(y)]));
            parabola += std::pow(u - amplitude * (y - y0) * (y1 - y), 2.0);
        }
        parabola = std::sqrt(parabola / (channel.H - 4));
        std::printf("%-12s %10.5f %14.2e (%5.2f %%) %15.2e (%5.2f %%)\n", ModelName(model), centre, largest,
                    100.0 * largest / centre, parabola, 100.0 * parabola / centre);
    }

    // Re = u D / nu = 0.1 * 20 * 50 = 100.  The disc sits one cell off the
    // axis, so that shedding starts without waiting for rounding.
    FlowSetting street;
    street.invViscosity = 50.0f;
    const int d = 20, cx = street.W / 4, cy = street.H / 2 + 1, settle = 20000, measured = 30000, every = 10;
    std::printf("\nDisc of diameter %d at Re 100 (inflow %.2f, invViscosity %g), %d x %d grid; lateral velocity "
                "at %d diameters behind it, steps %d to %d\n",
                d, static_cast<double>(street.ux), static_cast<double>(street.invViscosity), street.W, street.H, 3,
                settle, settle + measured);
    std::printf("%-12s %16s %10s %10s\n", "model", "period (steps)", "Strouhal", "vs BGK");
    double bgkPeriod = 0.0;
    for (const CollisionModel model : kModels) {
        FlowSetting s = street;
        s.model = model;
        auto sim = StartFlow(s, {Disc(cx, cy, d)});
        sim->Step(settle);
        std::vector<double> lateral;
        for (int n = 0; n < measured; n += every) {
            sim->Step(every);
            lateral.push_back(CellVelocity(*sim, cx + 3 * d, street.H / 2).uy);
        }
        const double period = MeanPeriod(lateral, every);
        if (model == CollisionModel::Bgk)
            bgkPeriod = period;
        std::printf("%-12s %16.1f %10.4f %9.2f%%\n", ModelName(model), period,
                    period > 0.0 ? d / (static_cast<double>(street.ux) * period) : 0.0,
                    bgkPeriod > 0.0 ? 100.0 * (period - bgkPeriod) / bgkPeriod : 0.0);
    }
    return 0;
}
