// What the CPU solver needs to draw its velocity field: the hue-wheel
// texture, a float texture for the velocities and the colouring program,
// and for the scalar views their programs and shared textures.  Given to
// the solver when it is made; nothing touches the drawing context before
// the first draw, so the solver itself runs without one.
#pragma once

#include <optional>
#include <vector>

#include "sim/CpuFieldDrawing.h"
#include "sim/FragmentProgram.h"
#include "sim/GlTexture.h"
#include "sim/LazyProgram.h"
#include "sim/ViewTextures.h"

class CpuRenderResources : public CpuFieldDrawing {
public:
    CpuRenderResources();
    ~CpuRenderResources() override;

    // Nothing can be drawn without a context or a program.
    float* VelocityTexels(int W, int H, ViewMode mode) override;
    void DrawVelocities(float brightness, DrawRect rect) override;
    void DrawField(ViewMode mode, float bias, float scale, DrawRect rect, std::span<const int32_t> obstacleMask,
                   uint64_t obstacleRevision) override;

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
