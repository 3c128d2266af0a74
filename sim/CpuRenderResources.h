// What the CPU solver needs to draw its velocity field: the hue-wheel
// texture, a float texture for the velocities and the colouring program,
// and for the scalar views their programs and shared textures.  Created on
// the first draw, so that the solver itself runs without any drawing
// context.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "sim/FragmentProgram.h"
#include "sim/GlTexture.h"
#include "sim/LazyProgram.h"
#include "sim/Lattice.h"
#include "sim/ViewModes.h"
#include "sim/ViewTextures.h"

class CpuRenderResources {
public:
    CpuRenderResources();
    ~CpuRenderResources();

    // The W x H x 4 floats the next drawing of mode shows, (ux, uy, rho, 0)
    // per cell in cell order; nullptr when nothing can be drawn (no context,
    // no program), so the caller can skip filling it.
    float* VelocityTexels(int W, int H, ViewMode mode = ViewMode::Velocity);
    // Colours the texels into rect of the current framebuffer.
    void DrawVelocities(float brightness, DrawRect rect);
    // Colours the texels as the scalar view mode (not Velocity), the field
    // becoming (field - bias) * scale; the cells of obstacleMask (W * H,
    // 1 for an obstacle) are grey.
    void DrawField(ViewMode mode, float bias, float scale, DrawRect rect, std::span<const int32_t> obstacleMask,
                   uint64_t obstacleRevision);

private:
    bool Prepare(int W, int H);
    LazyProgram* FieldProgram(ViewMode mode);

    GlTexture hueWheel;
    GlTexture velocity;
    std::optional<FragmentProgram> program;  // built for the profile of the context it draws in
    ViewTextures viewTextures;
    LazyProgram vorticity{"cg/vel2vorticity_frag.cg"};
    LazyProgram speed{"cg/vel2speed_frag.cg"};
    LazyProgram density{"cg/vel2density_frag.cg"};
    std::vector<float> staging;
    int stagedWidth = 0;
    int stagedHeight = 0;
    uint64_t contextSerial = 0;
    bool reportedMissingContext = false;
};
