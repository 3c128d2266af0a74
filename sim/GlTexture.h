// An OpenGL texture that is created on first use and deleted with its owner.
// Enumerations are GLenum values; this header stays free of GL headers so
// that it can be included before or after any of them.
#pragma once

#include <cstdint>

class GlTexture {
public:
    GlTexture(uint32_t target, uint32_t internalFormat) : target(target), internalFormat(internalFormat) {}
    virtual ~GlTexture();
    GlTexture(const GlTexture&) = delete;
    GlTexture& operator=(const GlTexture&) = delete;

    // Deletes the texture; name, width and height become 0.
    virtual void Release();
    // Creates the texture if needed and (re)defines level 0 from RGBA floats
    // (null: undefined image).  Filters become GL_NEAREST, wraps GL_CLAMP;
    // the texture stays bound on its target.
    virtual void Upload(const float* data);

    void Resize(const float* data, int newWidth, int newHeight);
    void SetParameters(uint32_t minFilter, uint32_t magFilter, uint32_t wrapS, uint32_t wrapT);

    // False when the texture was never created or its context is gone.
    bool Exists() const;
    uint32_t Name() const { return name; }
    int Width() const { return width; }
    int Height() const { return height; }
    uint32_t Target() const { return target; }
    uint32_t InternalFormat() const { return internalFormat; }

protected:
    // Forgets names that belong to a context other than the current one
    // (they died with it) and tells whether GL may be called at all.
    bool PrepareContext();

    uint32_t name = 0;
    int width = 0;
    int height = 0;
    uint32_t target;
    uint32_t internalFormat;
    uint64_t contextSerial = 0;
};
