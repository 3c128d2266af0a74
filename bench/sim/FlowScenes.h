// The flows the collision benchmarks run: a simulator on the processor
// started as every reset starts one, the obstacles of a scene, and probes
// of the velocity.  No drawing context is needed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/CpuLbmSimulator.h"

struct FlowSetting {
    int W = 512;
    int H = 256;
    float ux = 0.1f;
    float uy = 0.0f;
    float invViscosity = 20.0f;
    CollisionModel model = CollisionModel::Bgk;
};

// Viscosity, inflow as boundary and as the whole lattice, model, obstacles.
std::unique_ptr<CpuLbmSimulator> StartFlow(const FlowSetting& s, const std::vector<Obstacle>& obstacles);

// A disc of diameter d centred at (cx, cy), as a click with the ellipse
// shape would place it.
Obstacle Disc(int cx, int cy, int d);

// 30 rectangles and ellipses of 8 to 32 cells a side at places drawn from a
// fixed seed, away from the frame: the same field on every run.
std::vector<Obstacle> RandomField(int W, int H);

// Velocity (ux, uy) of cell (x, y) of the current lattice.
struct Probe {
    float ux, uy;
};
std::vector<Probe> ColumnVelocities(CpuLbmSimulator& sim, int x);
Probe CellVelocity(CpuLbmSimulator& sim, int x, int y);

const char* ModelName(CollisionModel model);
