// The forces on a disc in the default channel, measured as the status strip
// measures them (momentum exchange at the bounce-back links), for the
// validation figures: the mean drag coefficient, the lift's amplitude and
// period, and the shedding period taken independently from the cross-flow
// velocity at a point of the wake.  CPU solver, so the figures do not
// depend on a drawing context.
//
// Usage: cylinder_forces [Reynolds numbers, default 20 100] [--steps N] [--settle N]
//   Each run: a 512 x 256 grid, inflow 0.1, a disc of diameter 20 centred
//   at (110, 127) (one cell below the channel's axis, so that shedding
//   starts without waiting for rounding), viscosity u D / Re.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sim/CpuLbmSimulator.h"
#include "sim/MomentumExchange.h"

namespace {

constexpr int W = 512, H = 256;
constexpr float kInflow = 0.1f;
constexpr int kDiameter = 20;
constexpr Obstacle kDisc{1, 100, 117, kDiameter, kDiameter};
constexpr int kSampleEvery = 20;
// Five diameters behind the disc's centre, on its axis.
constexpr int kProbeX = 110 + 5 * kDiameter, kProbeY = 127;

struct Sample {
    long step;
    double cd, cl, probe;
};

// Times of the upward zero crossings of v, linearly interpolated.
std::vector<double> UpCrossings(const std::vector<Sample>& s, double Sample::*field, double mean)
{
    std::vector<double> t;
    for (size_t n = 1; n < s.size(); ++n) {
        const double a = s[n - 1].*field - mean, b = s[n].*field - mean;
        if (a < 0.0 && b >= 0.0)
            t.push_back(double(s[n - 1].step) + (double(s[n].step - s[n - 1].step)) * (-a / (b - a)));
    }
    return t;
}

double MeanPeriod(const std::vector<double>& crossings)
{
    if (crossings.size() < 2)
        return 0.0;
    return (crossings.back() - crossings.front()) / double(crossings.size() - 1);
}

void Run(double reynolds, long steps, long settle)
{
    const float nu = static_cast<float>(kInflow * kDiameter / reynolds);
    CpuLbmSimulator sim(W, H);
    sim.AddObstacle(kDisc);
    sim.SetViscosity(nu);
    sim.SetBoundaryVelocity(kInflow, 0.0f);
    sim.ResetFlow(kInflow, 0.0f);
    std::vector<LatticeCell> cells(static_cast<size_t>(W) * H);
    const double dynamic = 0.5 * kInflow * kInflow * kDiameter;
    std::vector<Sample> samples;
    const auto start = std::chrono::steady_clock::now();
    for (long step = 0; step < steps; step += kSampleEvery) {
        sim.Step(kSampleEvery);
        if (step + kSampleEvery <= settle)
            continue;
        sim.FetchGridState(&cells[0].f[0], int(cells.size() * sizeof(LatticeCell)));
        const BodyForce f = MomentumExchangeForce(cells, sim.ObstacleMask(), W, H);
        const Macroscopic probe = ComputeMacroscopic(cells[size_t(kProbeY) * W + kProbeX]);
        samples.push_back({step + kSampleEvery, f.fx / dynamic, f.fy / dynamic, probe.uy});
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double cdMean = 0, clMean = 0, probeMean = 0, clMin = 1e300, clMax = -1e300, cdMin = 1e300, cdMax = -1e300;
    for (const Sample& s : samples) {
        cdMean += s.cd;
        clMean += s.cl;
        probeMean += s.probe;
        clMin = std::min(clMin, s.cl);
        clMax = std::max(clMax, s.cl);
        cdMin = std::min(cdMin, s.cd);
        cdMax = std::max(cdMax, s.cd);
    }
    const double n = double(samples.size());
    cdMean /= n;
    clMean /= n;
    probeMean /= n;
    // A steady flow still wobbles in its last bits; crossings of that are
    // no period.
    const double clAmplitude = 0.5 * (clMax - clMin);
    const bool oscillates = clAmplitude > 1e-3 * std::fabs(cdMean);
    const double liftPeriod = oscillates ? MeanPeriod(UpCrossings(samples, &Sample::cl, clMean)) : 0.0;
    const double sheddingPeriod = oscillates ? MeanPeriod(UpCrossings(samples, &Sample::probe, probeMean)) : 0.0;
    std::printf("Re %.0f (nu %.4f, %ld steps, averaged over the last %ld, %.0f s)\n", reynolds, double(nu), steps,
                steps - settle, seconds);
    std::printf("  drag coefficient  mean %.4f  min %.4f  max %.4f\n", cdMean, cdMin, cdMax);
    std::printf("  lift coefficient  mean %+.4f  amplitude %.4f\n", clMean, clAmplitude);
    if (liftPeriod > 0 && sheddingPeriod > 0) {
        std::printf("  lift period %.1f steps, shedding period (wake probe) %.1f steps, ratio %.4f\n", liftPeriod,
                    sheddingPeriod, liftPeriod / sheddingPeriod);
        std::printf("  Strouhal number f D / u = %.4f (lift), %.4f (wake)\n", kDiameter / (liftPeriod * kInflow),
                    kDiameter / (sheddingPeriod * kInflow));
    } else {
        std::printf("  no oscillation: steady flow\n");
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<double> reynolds;
    long steps = 80000, settle = 40000;
    for (int a = 1; a < argc; ++a) {
        if (!std::strcmp(argv[a], "--steps") && a + 1 < argc)
            steps = std::atol(argv[++a]);
        else if (!std::strcmp(argv[a], "--settle") && a + 1 < argc)
            settle = std::atol(argv[++a]);
        else
            reynolds.push_back(std::atof(argv[a]));
    }
    if (reynolds.empty())
        reynolds = {20.0, 100.0};
    settle = std::clamp(settle, 0L, std::max(0L, steps - kSampleEvery));
    std::printf("Disc of diameter %d at (%d, %d), grid %d x %d, inflow %.2f; forces by momentum exchange\n", kDiameter,
                kDisc.x, kDisc.y, W, H, double(kInflow));
    for (const double re : reynolds)
        if (re > 0.0)
            Run(re, steps, settle);
    return 0;
}
