#include "tests/sim/ChannelFlow.h"

#include <cmath>
#include <numbers>

void StartChannel(LbmSimulator& sim, const Channel& channel, float invViscosity, float u)
{
    sim.SetViscosity(1.0f / invViscosity);
    sim.SetBoundaryVelocity(u, 0.0f);
    sim.ResetFlow(u, 0.0f);
    sim.AddObstacle(Obstacle{0, 0, 1, channel.W, 1});
    sim.AddObstacle(Obstacle{0, 0, channel.H - 2, channel.W, 1});
}

std::vector<LatticeCell> FetchCells(LbmSimulator& sim, const Channel& channel)
{
    std::vector<LatticeCell> cells(static_cast<size_t>(channel.W) * static_cast<size_t>(channel.H));
    if (!sim.FetchGridState(&cells[0].f[0], static_cast<int>(cells.size() * sizeof(LatticeCell))))
        cells.clear();
    return cells;
}

namespace {

const LatticeCell& CellAt(const std::vector<LatticeCell>& cells, const Channel& channel, int x, int row)
{
    return cells.at(static_cast<size_t>(row) * static_cast<size_t>(channel.W) + static_cast<size_t>(x));
}

}  // namespace

std::vector<double> VelocityProfile(const std::vector<LatticeCell>& cells, const Channel& channel, int x)
{
    std::vector<double> profile;
    for (int j = 0; j < channel.FluidRows(); ++j)
        profile.push_back(ComputeMacroscopic(CellAt(cells, channel, x, channel.FirstFluidRow() + j)).ux);
    return profile;
}

double MeanDensity(const std::vector<LatticeCell>& cells, const Channel& channel, int x)
{
    double sum = 0.0;
    for (int j = 0; j < channel.FluidRows(); ++j)
        sum += ComputeMacroscopic(CellAt(cells, channel, x, channel.FirstFluidRow() + j)).rho;
    return sum / channel.FluidRows();
}

double DensityGradient(const std::vector<LatticeCell>& cells, const Channel& channel, int x0, int x1)
{
    double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
    const int n = x1 - x0 + 1;
    for (int x = x0; x <= x1; ++x) {
        const double rho = MeanDensity(cells, channel, x);
        sx += x;
        sy += rho;
        sxx += static_cast<double>(x) * x;
        sxy += x * rho;
    }
    return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

double SlowestShearMode(const std::vector<double>& profile, const Channel& channel)
{
    const double k = std::numbers::pi / channel.Width();
    double sum = 0.0;
    for (int j = 0; j < static_cast<int>(profile.size()); ++j)
        sum += profile[static_cast<size_t>(j)] * std::sin(k * channel.FromLowerWall(channel.FirstFluidRow() + j));
    return 2.0 * sum / static_cast<double>(profile.size());
}

double ShearDecayRate(LbmSimulator& sim, const Channel& channel, int first, int last)
{
    auto amplitude = [&] {
        const auto cells = FetchCells(sim, channel);
        return cells.empty() ? std::nan("") : SlowestShearMode(VelocityProfile(cells, channel, channel.W / 2), channel);
    };
    sim.Step(first);
    const double early = amplitude();
    sim.Step(last - first);
    const double late = amplitude();
    return std::log(early / late) / (last - first);
}
