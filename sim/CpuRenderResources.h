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

    // Colours the W x H lattice into rect of the current framebuffer.
    void RenderVelocity(const LatticeCell* lattice, int W, int H, float brightness, DrawRect rect);

private:
    bool Prepare(int W, int H);

    GlTexture hueWheel;
    GlTexture velocity;
    std::optional<FragmentProgram> program;  // built for the profile of the context it draws in
    std::vector<float> staging;
    uint64_t contextSerial = 0;
    bool reportedMissingContext = false;
};
