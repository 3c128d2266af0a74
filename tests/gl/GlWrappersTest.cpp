#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "sim/DrawQuad.h"
#include "sim/GlTexture.h"
#include "sim/LatticeTarget.h"
#include "sim/RenderTexture.h"
#include "sim/RenderToTexture.h"
#include "sim/TextureBinding.h"
#include "tests/gl/HeadlessGl.h"

namespace {

using GlWrappers = HeadlessGl;

GLint Get(GLenum what)
{
    GLint value = 0;
    glGetIntegerv(what, &value);
    return value;
}

}  // namespace

TEST(QuadRect, CornersAreOrdered)
{
    const QuadRect r = MakeQuadRect(5.0, -1.0, 2.0, 3.0);
    EXPECT_EQ(r.x0, 2.0);
    EXPECT_EQ(r.x1, 5.0);
    EXPECT_EQ(r.y0, -1.0);
    EXPECT_EQ(r.y1, 3.0);
}

TEST_F(GlWrappers, TexturesAreCreatedOnFirstUseAndReleased)
{
    GlTexture texture(GL_TEXTURE_2D, GL_RGBA8);
    EXPECT_FALSE(texture.Exists());
    texture.Resize(nullptr, 8, 4);
    texture.SetParameters(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP);
    ASSERT_TRUE(texture.Exists());
    const GLuint name = texture.Name();
    EXPECT_TRUE(glIsTexture(name));
    glBindTexture(GL_TEXTURE_2D, name);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 8);
    glBindTexture(GL_TEXTURE_2D, 0);

    // Never uploaded: SetParameters creates it with an undefined image first.
    GlTexture fresh(GL_TEXTURE_RECTANGLE, GL_RGBA32F);
    fresh.SetParameters(GL_NEAREST, GL_NEAREST, GL_CLAMP, GL_CLAMP);
    EXPECT_TRUE(fresh.Exists());
    EXPECT_EQ(Get(GL_ACTIVE_TEXTURE), GL_TEXTURE0);

    texture.Release();
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(texture.Width(), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GlWrappers, TextureBindingUndoesItselfOnEveryExit)
{
    GlTexture texture(GL_TEXTURE_2D, GL_RGBA8);
    try {
        TextureBinding binding(texture, 2);
        EXPECT_TRUE(texture.Exists()) << "binding creates a missing texture";
        EXPECT_EQ(static_cast<GLuint>(Get(GL_TEXTURE_BINDING_2D)), texture.Name());
        glActiveTexture(GL_TEXTURE0);
        throw std::runtime_error("leave early");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Get(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
    EXPECT_EQ(Get(GL_TEXTURE_BINDING_2D), 0);
}

TEST_F(GlWrappers, LatticeTargetBindsThreeAttachmentsAndUnbindsItsInputs)
{
    LatticeTarget target;
    ASSERT_TRUE(target.Create(10, 6)) << "three RGB32F rectangle textures make a complete framebuffer";
    target.BindAsTarget();
    EXPECT_EQ(Get(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(Get(GL_DRAW_BUFFER1), GL_COLOR_ATTACHMENT1);
    EXPECT_EQ(Get(GL_DRAW_BUFFER2), GL_COLOR_ATTACHMENT2);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 10);
    EXPECT_EQ(viewport[3], 6);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    target.BindAsInput();
    glActiveTexture(GL_TEXTURE1);
    EXPECT_EQ(static_cast<GLuint>(Get(GL_TEXTURE_BINDING_RECTANGLE)), target.Texture(1));
    LatticeTarget::UnbindInputs();
    EXPECT_EQ(Get(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    for (int k = 0; k < 3; ++k) {
        glActiveTexture(GL_TEXTURE0 + k);
        EXPECT_EQ(Get(GL_TEXTURE_BINDING_RECTANGLE), 0) << "unit " << k;
    }
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GlWrappers, RenderToTextureGivesBackTheCallersFramebufferAndViewport)
{
    GLuint caller = 0;
    glGenFramebuffers(1, &caller);
    glBindFramebuffer(GL_FRAMEBUFFER, caller);
    glViewport(1, 2, 30, 40);

    RenderTexture texture(GL_TEXTURE_2D, GL_RGBA8);
    texture.Resize(nullptr, 16, 8);
    {
        RenderToTexture scope(texture);
        ASSERT_TRUE(scope.Active());
        EXPECT_EQ(static_cast<GLuint>(Get(GL_DRAW_FRAMEBUFFER_BINDING)), texture.Framebuffer());
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], 16);
        SetOrthoFor(texture);
        GLfloat projection[16] = {};
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        EXPECT_FLOAT_EQ(projection[0], 2.0f / 16.0f);
        EXPECT_FLOAT_EQ(projection[5], 2.0f / 8.0f);
        EXPECT_EQ(glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    }
    EXPECT_EQ(static_cast<GLuint>(Get(GL_DRAW_FRAMEBUFFER_BINDING)), caller);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 1);
    EXPECT_EQ(viewport[3], 40);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &caller);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(GlWrappersWithoutContext, DoNothingAndNeverCrash)
{
    ASSERT_EQ(CurrentRenderContext(), nullptr);
    GlTexture texture(GL_TEXTURE_2D, GL_RGBA8);
    texture.Resize(nullptr, 4, 4);
    texture.SetParameters(GL_LINEAR, GL_LINEAR, GL_CLAMP, GL_CLAMP);
    EXPECT_FALSE(texture.Exists());
    RenderTexture target(GL_TEXTURE_2D, GL_RGBA8);
    RenderToTexture scope(target);
    EXPECT_FALSE(scope.Active());
    TextureBinding binding(texture, 1);
    LatticeTarget lattice;
    EXPECT_FALSE(lattice.Create(8, 8));
}
