// Scope that directs drawing into a RenderTexture, and the projection that
// maps one unit to one texel of it.
#pragma once

#include "sim/RenderTexture.h"

class RenderToTexture {
public:
    explicit RenderToTexture(RenderTexture& texture);
    ~RenderToTexture();
    RenderToTexture(const RenderToTexture&) = delete;
    RenderToTexture& operator=(const RenderToTexture&) = delete;

    bool Active() const { return active; }

private:
    RenderTexture& texture;
    bool active = false;
    // The caller's framebuffers come back at the end, so that drawing into an
    // off-screen target of the caller's own keeps working.
    int previousDraw = 0;
    int previousRead = 0;
};

// Projection: orthographic (0, width, 0, height, -1, 1); model-view: identity.
void SetOrthoFor(const GlTexture& texture);
