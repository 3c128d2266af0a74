#include <epoxy/gl.h>

#include "sim/GlTexture.h"

#include "platform/gl/RenderContext.h"

GlTexture::~GlTexture() { GlTexture::Release(); }

bool GlTexture::PrepareContext()
{
    const uint64_t serial = CurrentRenderContextSerial();
    if (name != 0 && serial != contextSerial)
        name = 0;  // created under a context that is gone; nothing to delete
    return serial != 0;
}

bool GlTexture::Exists() const { return name != 0 && contextSerial == CurrentRenderContextSerial(); }

void GlTexture::Release()
{
    if (Exists())
        glDeleteTextures(1, &name);
    name = 0;
    width = 0;
    height = 0;
}

void GlTexture::Upload(const float* data)
{
    if (!PrepareContext())
        return;
    if (name == 0) {
        glGenTextures(1, &name);
        contextSerial = CurrentRenderContextSerial();
    }
    glBindTexture(target, name);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(target, 0, static_cast<GLint>(internalFormat), width, height, 0, GL_RGBA, GL_FLOAT, data);
}

void GlTexture::Resize(const float* data, int newWidth, int newHeight)
{
    width = newWidth;
    height = newHeight;
    Upload(data);
}

void GlTexture::SetParameters(uint32_t minFilter, uint32_t magFilter, uint32_t wrapS, uint32_t wrapT)
{
    if (!PrepareContext())
        return;
    glActiveTexture(GL_TEXTURE0);
    if (name == 0)
        Upload(nullptr);
    glBindTexture(target, name);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
    glTexParameteri(target, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrapS));
    glTexParameteri(target, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrapT));
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(target, 0);
}
