// What colours the CPU solver's fields on screen.  The solver fills the
// texels it is handed and asks for them to be drawn; the drawing itself
// (textures, programs, a context) belongs to the graphics library, so a
// solver made without one only steps and every picture draws nothing.
#pragma once

#include <cstdint>
#include <span>

#include "sim/Lattice.h"
#include "sim/ViewModes.h"

class CpuFieldDrawing {
public:
    virtual ~CpuFieldDrawing() = default;

    // The W x H x 4 floats the next drawing of mode shows, (ux, uy, rho, 0)
    // per cell in cell order; nullptr when nothing can be drawn, so the
    // caller can skip filling it.
    virtual float* VelocityTexels(int W, int H, ViewMode mode) = 0;
    // Colours the texels into rect of the current framebuffer.
    virtual void DrawVelocities(float brightness, DrawRect rect) = 0;
    // Colours the texels as the scalar view mode (not Velocity), the field
    // becoming (field - bias) * scale; the cells of obstacleMask (W * H,
    // 1 for an obstacle) are grey.
    virtual void DrawField(ViewMode mode, float bias, float scale, DrawRect rect,
                           std::span<const int32_t> obstacleMask, uint64_t obstacleRevision) = 0;
};
