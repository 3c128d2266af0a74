// The drawing context on a native window.  Needs a display with GLX or EGL
// (the test script runs under Xvfb); skipped on platforms without OpenGL.
#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <filesystem>

#include "platform/gl/RenderContext.h"
#include "sim/GpuLbmSimulator.h"
#include "tests/gl/HeadlessGl.h"

namespace {

bool PlatformHasOpenGl()
{
    const QString name = QGuiApplication::platformName();
    return name != "offscreen" && name != "minimal" && name != "vnc";
}

}  // namespace

TEST(WindowContext, DrawsIntoTheWindowWithACompatibilityContext)
{
    if (!PlatformHasOpenGl())
        GTEST_SKIP() << "no OpenGL on platform " << QGuiApplication::platformName().toStdString();
    MessageCollector messages;
    std::filesystem::current_path(EDDYRA_SOURCE_DIR);
    QWindow window;
    window.resize(128, 64);
    ASSERT_TRUE(CreateRenderContext(&window)) << messages.reports.at(0).text;
    window.show();
    RenderContext* record = CurrentRenderContext();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->window, &window);
    EXPECT_GE(record->fragmentProfile, 110);
    GLint mask = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
    if (epoxy_gl_version() >= 32) {
        EXPECT_NE(mask & GL_CONTEXT_COMPATIBILITY_PROFILE_BIT, 0);
    }
    {
        GpuLbmSimulator gpu(64, 32);
        ASSERT_TRUE(gpu.Usable());
        gpu.SetViscosity(0.05f);
        gpu.SetBoundaryVelocity(0.1f, 0.0f);
        gpu.ResetFlow(0.1f, 0.0f);
        gpu.Step(3);
        glViewport(0, 0, 128, 64);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 128, 0, 64, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        gpu.RenderVelocity(1.0f, {0, 128, 0, 64});
        unsigned char pixel[4] = {};
        glReadPixels(64, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        EXPECT_GT(pixel[1], 200) << "a uniform flow of 0.1 to the right is cyan";
        EXPECT_LT(pixel[0], 40);
        PresentFrame();
    }
    EXPECT_TRUE(messages.reports.empty());
    DestroyRenderContext();
    EXPECT_EQ(CurrentRenderContext(), nullptr);
    EXPECT_FALSE(RenderContextSlotAllocated());
}

TEST(WindowContext, AWindowCreatedBeforehandWithAnOpenGlSurfaceWorks)
{
    if (!PlatformHasOpenGl())
        GTEST_SKIP() << "no OpenGL on platform " << QGuiApplication::platformName().toStdString();
    MessageCollector messages;
    QWindow window;
    window.setSurfaceType(QSurface::OpenGLSurface);
    window.resize(32, 32);
    window.create();
    ASSERT_TRUE(CreateRenderContext(&window)) << messages.reports.at(0).text;
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(4, 4, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    PresentFrame();
    DestroyRenderContext();
    EXPECT_TRUE(messages.reports.empty());
}

TEST(WindowContext, WorksOnAWindowEmbeddedInAWidget)
{
    if (!PlatformHasOpenGl())
        GTEST_SKIP() << "no OpenGL on platform " << QGuiApplication::platformName().toStdString();
    MessageCollector messages;
    QWidget parent;
    parent.resize(200, 100);
    auto* view = new QWindow;
    view->setSurfaceType(QSurface::OpenGLSurface);
    QWidget* container = QWidget::createWindowContainer(view, &parent);
    container->setGeometry(0, 0, 100, 100);
    container->winId();  // the embedding's own native window first
    ASSERT_TRUE(CreateRenderContext(view)) << messages.reports.at(0).text;
    parent.show();
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    PresentFrame();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    DestroyRenderContext();
    EXPECT_TRUE(messages.reports.empty());
}

TEST(WindowContext, FailuresAreReportedOnceAndLeaveNoRecord)
{
    MessageCollector messages;
    EXPECT_FALSE(CreateRenderContext(nullptr));
    ASSERT_EQ(messages.reports.size(), 1u);
    EXPECT_EQ(messages.reports[0].caption, "OpenGL context error");

    QWindow raster;
    raster.setSurfaceType(QSurface::RasterSurface);
    raster.create();
    EXPECT_FALSE(CreateRenderContext(&raster));
    EXPECT_EQ(messages.reports.size(), 2u);
    EXPECT_EQ(CurrentRenderContext(), nullptr);
    EXPECT_EQ(CurrentShaderContext(), nullptr);
    PresentFrame();
    DestroyRenderContext();
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
