// CreateRenderContext on a native QWindow through QOpenGLContext.
#include <epoxy/gl.h>

#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWindow>

#include "platform/gl/RenderContext.h"
#include "platform/gl/RenderContextSetup.h"

namespace {

class WindowDrawable final : public GlDrawable {
public:
    WindowDrawable(QWindow* window, std::unique_ptr<QOpenGLContext> context)
        : window(window), context(std::move(context)) {}
    void Present() override { context->swapBuffers(window); }
    void DoneCurrent() override { context->doneCurrent(); }
    std::string Describe() const override
    {
        const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        return std::string("OpenGL ") + (version ? version : "?") + " on " + (renderer ? renderer : "?");
    }

private:
    QWindow* window;
    std::unique_ptr<QOpenGLContext> context;
};

QSurfaceFormat RequestedFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    // Without DeprecatedFunctions Qt quietly hands out a core context for a
    // compatibility request at 3.0 or above.
    format.setVersion(3, 0);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setOption(QSurfaceFormat::DeprecatedFunctions);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(0);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(0);
    format.setSwapInterval(0);  // frames are paced by the idle loop, not the display
    return format;
}

bool Fail(const std::string& what)
{
    ReportMessage(kContextFailureCaption, "The drawing context could not be created.\n" + what);
    return false;
}

}  // namespace

bool CreateRenderContext(QWindow* window, ShaderProfile vertexProfile, ShaderProfile fragmentProfile)
{
    if (window == nullptr)
        return Fail("There is no window to draw into.");
    if (CurrentRenderContext() != nullptr)
        return Fail("This thread already has a drawing context.");

    QSurfaceFormat format = RequestedFormat();
    if (window->handle() == nullptr) {
        window->setSurfaceType(QSurface::OpenGLSurface);
        window->setFormat(format);
        window->create();
    } else if (window->surfaceType() != QSurface::OpenGLSurface) {
        return Fail("The window was created without an OpenGL surface.");
    } else {
        // The native window exists already: its pixel format is fixed, and
        // the context must be made for that one to be current on it.
        const QSurfaceFormat requested = format;
        format = window->format();
        format.setRenderableType(QSurfaceFormat::OpenGL);
        format.setVersion(requested.majorVersion(), requested.minorVersion());
        format.setProfile(requested.profile());
        format.setOptions(requested.options());
        format.setSwapInterval(0);
    }

    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(format);
    if (!context->create())
        return Fail("The platform refused an OpenGL compatibility-profile context.");
    if (context->format().profile() == QSurfaceFormat::CoreProfile)
        return Fail("The platform returned a core-profile context; the compatibility profile is needed.");
    if (!context->makeCurrent(window))
        return Fail("The OpenGL context cannot be made current on the window.");

    auto record = std::make_unique<RenderContext>();
    record->window = window;
    record->drawable = std::make_unique<WindowDrawable>(window, std::move(context));
    std::string failure;
    if (!CompleteRenderContext(std::move(record), vertexProfile, fragmentProfile, &failure))
        return Fail(failure);
    return true;
}
