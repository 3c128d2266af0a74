#include <epoxy/gl.h>

#include "sim/LatticeTarget.h"

#include "platform/gl/RenderContext.h"

LatticeTarget::~LatticeTarget() { Destroy(); }

bool LatticeTarget::Create(int w, int h)
{
    width = w;
    height = h;
    const uint64_t serial = CurrentRenderContextSerial();
    if (serial == 0)
        return false;
    Destroy();
    contextSerial = serial;
    glActiveTexture(GL_TEXTURE0);
    for (GLuint& texture : textures) {
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_RECTANGLE, texture);
        glTexParameteri(GL_TEXTURE_RECTANGLE, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_RECTANGLE, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_RECTANGLE, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_RECTANGLE, GL_TEXTURE_WRAP_T, GL_CLAMP);
        glTexImage2D(GL_TEXTURE_RECTANGLE, 0, GL_RGB32F, width, height, 0, GL_RGB, GL_FLOAT, nullptr);
    }
    glBindTexture(GL_TEXTURE_RECTANGLE, 0);

    GLint previousDraw = 0, previousRead = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previousDraw);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    for (int k = 0; k < 3; ++k)
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + k, GL_TEXTURE_RECTANGLE, textures[k], 0);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previousDraw));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
    return status == GL_FRAMEBUFFER_COMPLETE;
}

void LatticeTarget::Destroy()
{
    if (contextSerial != 0 && contextSerial == CurrentRenderContextSerial()) {
        glDeleteTextures(3, textures);
        if (framebuffer != 0)
            glDeleteFramebuffers(1, &framebuffer);
    }
    textures[0] = textures[1] = textures[2] = 0;
    framebuffer = 0;
    contextSerial = 0;
}

void LatticeTarget::BindAsTarget() const
{
    static const GLenum kBuffers[3] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1, GL_COLOR_ATTACHMENT2};
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glDrawBuffers(3, kBuffers);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void LatticeTarget::BindAsInput() const
{
    for (int k = 0; k < 3; ++k) {
        glActiveTexture(GL_TEXTURE0 + k);
        glBindTexture(GL_TEXTURE_RECTANGLE, textures[k]);
    }
}

void LatticeTarget::UnbindInputs()
{
    for (int k = 2; k >= 0; --k) {
        glActiveTexture(GL_TEXTURE0 + k);
        glBindTexture(GL_TEXTURE_RECTANGLE, 0);
    }
}
