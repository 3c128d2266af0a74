#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/gl/HeadlessRenderContext.h"
#include "platform/gl/RenderContext.h"
#include "tests/gl/HeadlessGl.h"

TEST(RenderContext, HeadlessLifecycleLeavesNoSlotBehind)
{
    MessageCollector messages;
    EXPECT_EQ(CurrentRenderContext(), nullptr);
    EXPECT_EQ(CurrentShaderContext(), nullptr);
    EXPECT_EQ(CurrentFragmentProfile(), kProfileUnknown);
    EXPECT_FALSE(RenderContextSlotAllocated());
    PresentFrame();           // no record: nothing to present, nothing to crash
    DestroyRenderContext();   // likewise

    ASSERT_TRUE(CreateHeadlessRenderContext());
    EXPECT_TRUE(RenderContextSlotAllocated());
    EXPECT_EQ(LiveRenderContextCount(), 1);
    RenderContext* record = CurrentRenderContext();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->window, nullptr);
    EXPECT_NE(record->shaderContext, nullptr);
    EXPECT_GE(record->fragmentProfile, 110);
    EXPECT_NE(record->fragmentProfile, kProfileUnknown);
    EXPECT_EQ(CurrentFragmentProfile(), record->fragmentProfile);

    // The profile we asked for is a compatibility one: the matrix stack works.
    GLint mask = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
    if (epoxy_gl_version() >= 32) {
        EXPECT_NE(mask & GL_CONTEXT_COMPATIBILITY_PROFILE_BIT, 0);
    }
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glPopMatrix();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // A second context on the same thread is refused with one report and
    // the first one stays.
    EXPECT_FALSE(CreateHeadlessRenderContext());
    ASSERT_EQ(messages.reports.size(), 1u);
    EXPECT_EQ(CurrentRenderContext(), record);

    PresentFrame();
    DestroyRenderContext();
    EXPECT_EQ(CurrentRenderContext(), nullptr);
    EXPECT_EQ(LiveRenderContextCount(), 0);
    EXPECT_FALSE(RenderContextSlotAllocated());
}

TEST(RenderContext, EachThreadHasItsOwnRecordAndTheSlotLivesWhileAnyDoes)
{
    MessageCollector messages;
    ASSERT_TRUE(CreateHeadlessRenderContext());
    RenderContext* mine = CurrentRenderContext();
    RenderContext* theirs = nullptr;
    bool sawNoneFirst = false;
    std::thread other([&] {
        sawNoneFirst = CurrentRenderContext() == nullptr;
        if (!CreateHeadlessRenderContext())
            return;
        theirs = CurrentRenderContext();
        EXPECT_EQ(LiveRenderContextCount(), 2);
        DestroyRenderContext();
    });
    other.join();
    EXPECT_TRUE(sawNoneFirst);
    ASSERT_NE(theirs, nullptr);
    EXPECT_NE(theirs, mine);
    EXPECT_EQ(CurrentRenderContext(), mine) << "the other thread's teardown leaves this record alone";
    EXPECT_TRUE(RenderContextSlotAllocated());
    EXPECT_EQ(LiveRenderContextCount(), 1);
    // This thread's context still works (no default framebuffer headless,
    // so make an object instead of clearing).
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    EXPECT_TRUE(glIsTexture(texture));
    glDeleteTextures(1, &texture);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    DestroyRenderContext();
    EXPECT_FALSE(RenderContextSlotAllocated());
    EXPECT_TRUE(messages.reports.empty());
}
