// Builds the solver the "init|simulationType" index asks for.
#pragma once

#include <cstdint>
#include <memory>

#include "sim/LbmSimulator.h"

// Index 0 is the GPU solver (it needs the calling thread's drawing context),
// any other index the CPU solver.
std::shared_ptr<LbmSimulator> CreateSimulator(int32_t simulationType, int width, int height);

// The model the "runtime|collision" index names: 1 Smagorinsky, any other
// index BGK.
CollisionModel CollisionFromIndex(int32_t collision);

// A simulator started the way every reset starts one: the viscosity
// 1 / invViscosity, then the inflow (ux, uy) as the boundary and as the
// uniform flow of the whole lattice, and the collision model.
std::shared_ptr<LbmSimulator> StartSimulator(int32_t simulationType, int width, int height, float invViscosity,
                                             float ux, float uy, CollisionModel collision = CollisionModel::Bgk);
