// The tunable parameters of the program.  They exist with their
// defaults before main runs; the program reads them where it needs a value
// and never writes them: only the storage binding does.
#pragma once

#include "app/GlobalEnumVariable.h"
#include "app/GlobalFloatVariable.h"
#include "app/GlobalIntVariable.h"

namespace params {
// Index 0 builds the GPU solver, any other index the CPU solver.
extern GlobalEnumVariable simulationType;
extern GlobalIntVariable gridWidth;
extern GlobalIntVariable gridHeight;
extern GlobalFloatVariable flowVelX;
extern GlobalFloatVariable flowVelY;
// The inverse of the kinematic viscosity: the simulator receives 1 / value.
extern GlobalFloatVariable invViscosity;
// 0 "BGK", 1 "Smagorinsky" (an eddy viscosity that keeps fast, thin flows
// stable); taken up at the next frame, like the viscosity.
extern GlobalEnumVariable collision;
extern GlobalFloatVariable brightness;
// Time steps per drawn frame.
extern GlobalIntVariable updateRate;
// What the picture shows: 0 "Velocity", 1 "Vorticity", 2 "Speed", 3 "Density".
extern GlobalEnumVariable viewMode;
extern GlobalIntVariable obstacleWidth;
extern GlobalIntVariable obstacleHeight;
// 0 "Rect", 1 "Ellipse".
extern GlobalEnumVariable obstacleShape;
}  // namespace params
