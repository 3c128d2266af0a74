// Scope that binds a texture on a unit (-1: the active unit) and unbinds it
// on every exit.  A texture that does not exist yet is created first.
#pragma once

#include "sim/GlTexture.h"

class TextureBinding {
public:
    TextureBinding(GlTexture& texture, int unit);
    ~TextureBinding();
    TextureBinding(const TextureBinding&) = delete;
    TextureBinding& operator=(const TextureBinding&) = delete;

private:
    GlTexture& texture;
    int unit;
    bool bound = false;
};
