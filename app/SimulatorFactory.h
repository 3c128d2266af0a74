// Builds the solver the "init|simulationType" index asks for.
#pragma once

#include <cstdint>
#include <memory>

#include "sim/LbmSimulator.h"

// Index 0 is the GPU solver (it needs the calling thread's drawing context),
// any other index the CPU solver.
std::shared_ptr<LbmSimulator> CreateSimulator(int32_t simulationType, int width, int height);
