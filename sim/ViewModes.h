// What the picture shows, and how strongly: the one place that turns the
// view parameters into the arguments of a simulator's render operations.
#pragma once

#include <cstdint>

#include "sim/LbmSimulator.h"

// The order of the labels of the view parameter.
enum class ViewMode : int32_t { Velocity = 0, Vorticity = 1, Speed = 2, Density = 3 };
inline constexpr int kViewModeCount = 4;

struct ViewSettings {
    ViewMode mode = ViewMode::Velocity;
    float brightness = 1.0f;
    // The speed of the inflow; the scalar views are scaled against it.
    float inflowSpeed = 0.1f;
};

// An index from outside (a parameter, a file) as a mode; anything out of
// range shows the velocity.
ViewMode ViewModeFromIndex(int32_t index);

// The speed the scalar views are scaled against: the inflow speed, or the
// default inflow of 0.1 when the inflow is (nearly) at rest or not finite.
float ReferenceSpeed(float inflowSpeed);

// Multiplies the field before it meets its colour map, whose ends are -1
// and 1 (0 and 1 for the speed):
//   Vorticity  saturates at |curl u| = u / (10 cells) at brightness 1;
//   Speed      puts the inflow speed in the middle of the map at brightness 1;
//   Density    saturates where rho - 1 reaches the dynamic pressure of the
//              inflow (1.5 u^2 in density, the speed of sound being
//              1/sqrt(3)), i.e. at |Cp| = 1 / brightness.
float ViewScale(const ViewSettings& settings);

// Draws the view into rect of the current framebuffer.  The velocity view
// is RenderVelocity with the brightness, exactly as the frame loop has
// always drawn it.
void RenderView(LbmSimulator& simulator, const ViewSettings& settings, DrawRect rect);
