// A texture with a framebuffer object whose single colour attachment it is.
#pragma once

#include "sim/GlTexture.h"

class RenderTexture : public GlTexture {
public:
    using GlTexture::GlTexture;
    ~RenderTexture() override;

    void Release() override;
    void Upload(const float* data) override;

    uint32_t Framebuffer() const { return framebuffer; }

protected:
    uint32_t framebuffer = 0;
};
