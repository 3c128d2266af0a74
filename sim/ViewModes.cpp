#include "sim/ViewModes.h"

#include <cmath>

namespace {
// Below this the inflow is taken as at rest: the scales would grow without
// bound and show rounding noise.
constexpr float kSlowestReference = 1e-3f;
constexpr float kDefaultReference = 0.1f;
// Cells over which the inflow speed turns into the vorticity that saturates
// the map at brightness 1: the shed vortices of a body some twenty cells
// across then reach well into the map, and only its shear layers saturate.
constexpr float kVorticityCells = 10.0f;
}  // namespace

ViewMode ViewModeFromIndex(int32_t index)
{
    if (index < 0 || index >= kViewModeCount)
        return ViewMode::Velocity;
    return static_cast<ViewMode>(index);
}

float ReferenceSpeed(float inflowSpeed)
{
    const float u = std::fabs(inflowSpeed);
    if (!std::isfinite(u) || u < kSlowestReference)
        return kDefaultReference;
    return u;
}

float ViewScale(const ViewSettings& settings)
{
    const float u = ReferenceSpeed(settings.inflowSpeed);
    switch (settings.mode) {
    case ViewMode::Vorticity:
        return settings.brightness * kVorticityCells / u;
    case ViewMode::Speed:
        return settings.brightness * 0.5f / u;
    case ViewMode::Density:
        return settings.brightness / (1.5f * u * u);
    case ViewMode::Velocity:
        break;
    }
    return settings.brightness;
}

void RenderView(LbmSimulator& simulator, const ViewSettings& settings, DrawRect rect)
{
    const float scale = ViewScale(settings);
    switch (settings.mode) {
    case ViewMode::Velocity:
        simulator.RenderVelocity(settings.brightness, rect);
        break;
    case ViewMode::Vorticity:
        simulator.RenderVorticity(scale, rect);
        break;
    case ViewMode::Speed:
        simulator.RenderSpeed(scale, rect);
        break;
    case ViewMode::Density:
        simulator.RenderDensity(1.0f, scale, rect);
        break;
    }
}
