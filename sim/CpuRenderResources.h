// What the CPU solver needs to draw its velocity field: the hue-wheel
// texture, a float texture for the velocities and the colouring program.
// Created on the first draw, so that the solver itself runs without any
// drawing context.
#pragma once

#include <optional>
#include <vector>

#include "sim/FragmentProgram.h"
#include "sim/GlTexture.h"
#include "sim/Lattice.h"

class CpuRenderResources {
public:
    CpuRenderResources();
    ~CpuRenderResources();

    // The W x H x 4 floats the next DrawVelocities shows, (ux, uy, rho, 0)
    // per cell in cell order; nullptr when nothing can be drawn (no context,
    // no program), so the caller can skip filling it.
    float* VelocityTexels(int W, int H);
    // Colours the texels into rect of the current framebuffer.
    void DrawVelocities(float brightness, DrawRect rect);

private:
    bool Prepare(int W, int H);

    GlTexture hueWheel;
    GlTexture velocity;
    std::optional<FragmentProgram> program;  // built for the profile of the context it draws in
    std::vector<float> staging;
    int stagedWidth = 0;
    int stagedHeight = 0;
    uint64_t contextSerial = 0;
    bool reportedMissingContext = false;
};
