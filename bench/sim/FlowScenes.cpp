#include "bench/sim/FlowScenes.h"

#include <random>

std::unique_ptr<CpuLbmSimulator> StartFlow(const FlowSetting& s, const std::vector<Obstacle>& obstacles)
{
    auto sim = std::make_unique<CpuLbmSimulator>(s.W, s.H);
    sim->SetViscosity(1.0f / s.invViscosity);
    sim->SetBoundaryVelocity(s.ux, s.uy);
    sim->ResetFlow(s.ux, s.uy);
    sim->SetCollisionModel(s.model);
    sim->AddObstacles(obstacles);
    return sim;
}

Obstacle Disc(int cx, int cy, int d) { return Obstacle{1, cx - d / 2, cy - d / 2, d, d}; }

std::vector<Obstacle> RandomField(int W, int H)
{
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> side(8, 32), shape(0, 1);
    std::uniform_int_distribution<int> x(W / 8, W - W / 8 - 32), y(8, H - 8 - 32);
    std::vector<Obstacle> field;
    for (int n = 0; n < 30; ++n) {
        const int isEllipse = shape(rng), w = side(rng), h = side(rng);
        field.push_back(Obstacle{isEllipse, x(rng), y(rng), w, h});
    }
    return field;
}

std::vector<Probe> ColumnVelocities(CpuLbmSimulator& sim, int x)
{
    const LatticeCell* cells = sim.Current();
    std::vector<Probe> column;
    for (int y = 0; y < sim.Height(); ++y) {
        const Macroscopic m = ComputeMacroscopic(cells[static_cast<size_t>(y) * sim.Width() + x]);
        column.push_back({m.ux, m.uy});
    }
    return column;
}

Probe CellVelocity(CpuLbmSimulator& sim, int x, int y) { return ColumnVelocities(sim, x)[static_cast<size_t>(y)]; }

const char* ModelName(CollisionModel model)
{
    return model == CollisionModel::Smagorinsky ? "Smagorinsky" : "BGK";
}
