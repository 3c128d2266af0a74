// EGL lives in this file alone: its headers pull in Xlib macros that break
// Qt headers.
#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include "platform/gl/HeadlessRenderContext.h"
#include "platform/gl/RenderContext.h"
#include "platform/gl/RenderContextSetup.h"

#include <string>

namespace {

class HeadlessDrawable final : public GlDrawable {
public:
    HeadlessDrawable(EGLDisplay display, EGLContext context) : display(display), context(context) {}
    // The display stays initialised: it is one per process, and other
    // threads may hold contexts on it.
    ~HeadlessDrawable() override { eglDestroyContext(display, context); }
    // No surface to swap: make sure the commands reach the renderer.
    void Present() override { glFlush(); }
    void DoneCurrent() override { eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT); }
    std::string Describe() const override
    {
        const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        return std::string("OpenGL ") + (version ? version : "?") + " on " + (renderer ? renderer : "?") +
               " (headless EGL)";
    }

private:
    EGLDisplay display;
    EGLContext context;
};

bool Fail(const std::string& what)
{
    ReportMessage(kContextFailureCaption, "The headless drawing context could not be created.\n" + what);
    return false;
}

std::string EglErrorText() { return " (EGL error 0x" + [] {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04x", static_cast<unsigned>(eglGetError()));
    return std::string(buffer);
}() + ")"; }

}  // namespace

bool CreateHeadlessRenderContext(ShaderProfile vertexProfile, ShaderProfile fragmentProfile)
{
    if (CurrentRenderContext() != nullptr)
        return Fail("This thread already has a drawing context.");
    // Mesa's surfaceless platform needs no X server and no GPU; a driver
    // without it may still give its default display a context without a
    // surface.
    EGLDisplay display = EGL_NO_DISPLAY;
    if (epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless"))
        display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY)
        display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display == EGL_NO_DISPLAY)
        return Fail("No EGL display without a window system" + EglErrorText());
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor))
        return Fail("eglInitialize failed" + EglErrorText());
    if (!epoxy_has_egl_extension(display, "EGL_KHR_surfaceless_context")) {
        return Fail("The EGL display cannot make a context current without a surface.");
    }
    if (!eglBindAPI(EGL_OPENGL_API))
        return Fail("EGL cannot bind desktop OpenGL" + EglErrorText());

    EGLConfig config = nullptr;
    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                                       EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_NONE};
    EGLint configs = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configs) || configs < 1) {
        if (!epoxy_has_egl_extension(display, "EGL_KHR_no_config_context"))
            return Fail("No EGL configuration for desktop OpenGL.");
        config = EGL_NO_CONFIG_KHR;
    }

    // No version asked: Mesa then returns the newest compatibility context.
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT)
        return Fail("eglCreateContext refused a compatibility-profile context" + EglErrorText());
    auto drawable = std::make_unique<HeadlessDrawable>(display, context);
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context))
        return Fail("eglMakeCurrent without a surface failed" + EglErrorText());

    auto record = std::make_unique<RenderContext>();
    record->drawable = std::move(drawable);
    std::string failure;
    if (!CompleteRenderContext(std::move(record), vertexProfile, fragmentProfile, &failure))
        return Fail(failure);
    return true;
}
