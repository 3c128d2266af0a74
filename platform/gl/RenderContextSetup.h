// The steps both context creators share once their GL context is current:
// check that it can run the solvers, create the shader context, resolve the
// profiles and install the record.  Internal to this layer.
#pragma once

#include <memory>
#include <string>

#include "platform/gl/RenderContext.h"

// On failure returns false with what failed in *failure; the record (and
// with it the GL context) is released.
bool CompleteRenderContext(std::unique_ptr<RenderContext> record, ShaderProfile vertexProfile,
                           ShaderProfile fragmentProfile, std::string* failure);

// Caption of the message that reports a context that could not be created.
inline constexpr const char* kContextFailureCaption = "OpenGL context error";
