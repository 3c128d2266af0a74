#include <epoxy/gl.h>

#include "platform/gl/RenderContextSetup.h"

namespace {

// The solvers draw with the fixed-function pipeline and GLSL 1.x built-ins,
// into three float rectangle textures on one framebuffer object.
std::string MissingCapability()
{
    const int version = epoxy_gl_version();
    if (version < 30)
        return "OpenGL 3.0 or later is needed; the context offers " + std::to_string(version / 10) + "." +
               std::to_string(version % 10) + ".";
    if (version >= 32) {
        GLint mask = 0;
        glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
        if ((mask & GL_CONTEXT_COMPATIBILITY_PROFILE_BIT) == 0)
            return "The context has the core profile; the compatibility profile is needed.";
    } else if (version == 31 && !epoxy_has_gl_extension("GL_ARB_compatibility")) {
        return "The OpenGL 3.1 context lacks GL_ARB_compatibility.";
    }
    GLint drawBuffers = 0, attachments = 0;
    glGetIntegerv(GL_MAX_DRAW_BUFFERS, &drawBuffers);
    glGetIntegerv(GL_MAX_COLOR_ATTACHMENTS, &attachments);
    if (drawBuffers < 3 || attachments < 3)
        return "Three simultaneous draw buffers are needed.";
    if (version < 31 && !epoxy_has_gl_extension("GL_ARB_texture_rectangle"))
        return "Rectangle textures (GL_ARB_texture_rectangle) are needed.";
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &units);
    if (units < 4)
        return "Four texture units are needed.";
    return {};
}

}  // namespace

bool CompleteRenderContext(std::unique_ptr<RenderContext> record, ShaderProfile vertexProfile,
                           ShaderProfile fragmentProfile, std::string* failure)
{
    const std::string missing = MissingCapability();
    if (!missing.empty()) {
        *failure = missing + "\n" + record->drawable->Describe();
        record->drawable->DoneCurrent();
        return false;
    }

    record->shaderContext = std::make_unique<ShaderContext>();
    record->shaderContext->SetErrorHandler(ReportShaderError, nullptr);
    record->vertexProfile =
        vertexProfile == kProfileUnknown ? ShaderContext::LatestProfile(ShaderStage::Vertex) : vertexProfile;
    record->fragmentProfile =
        fragmentProfile == kProfileUnknown ? ShaderContext::LatestProfile(ShaderStage::Fragment) : fragmentProfile;
    if (record->fragmentProfile == kProfileUnknown) {
        *failure = "The context offers no usable GLSL version.\n" + record->drawable->Describe();
        record->drawable->DoneCurrent();
        return false;
    }
    if (!InstallRenderContext(std::move(record))) {
        *failure = "The record of the drawing context cannot be installed.";
        return false;
    }
    return true;
}
