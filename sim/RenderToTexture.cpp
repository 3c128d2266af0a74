#include <epoxy/gl.h>

#include "sim/RenderToTexture.h"

#include "platform/gl/RenderContext.h"

RenderToTexture::RenderToTexture(RenderTexture& texture) : texture(texture)
{
    if (CurrentRenderContextSerial() == 0)
        return;
    if (texture.Framebuffer() == 0 || !texture.Exists())
        texture.Upload(nullptr);
    if (texture.Framebuffer() == 0)
        return;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previousDraw);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
    glPushAttrib(GL_VIEWPORT_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, texture.Framebuffer());
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glViewport(0, 0, texture.Width(), texture.Height());
    active = true;
}

RenderToTexture::~RenderToTexture()
{
    if (!active)
        return;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previousDraw));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
    glPopAttrib();
    active = false;
}

void SetOrthoFor(const GlTexture& texture)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, texture.Width(), 0.0, texture.Height(), -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
