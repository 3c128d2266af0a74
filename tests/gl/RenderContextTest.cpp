#include <epoxy/gl.h>

#include <gtest/gtest.h>

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
