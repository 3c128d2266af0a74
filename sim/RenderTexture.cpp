#include <epoxy/gl.h>

#include "sim/RenderTexture.h"

#include "platform/gl/RenderContext.h"

RenderTexture::~RenderTexture() { RenderTexture::Release(); }

void RenderTexture::Release()
{
    if (framebuffer != 0 && contextSerial == CurrentRenderContextSerial())
        glDeleteFramebuffers(1, &framebuffer);
    framebuffer = 0;
    GlTexture::Release();
}

void RenderTexture::Upload(const float* data)
{
    if (framebuffer != 0 && contextSerial != CurrentRenderContextSerial())
        framebuffer = 0;  // a framebuffer of a vanished context went with it
    GlTexture::Upload(data);
    if (name == 0)
        return;
    if (framebuffer == 0)
        glGenFramebuffers(1, &framebuffer);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(target, name);
    GLint previous = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, target, name, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
}
