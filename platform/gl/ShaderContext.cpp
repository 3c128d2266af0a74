#include <epoxy/gl.h>

#include "platform/gl/ShaderContext.h"

#include <cstdio>
#include <utility>

const char* ShaderErrorString(ShaderError error)
{
    switch (error) {
    case ShaderError::NoError: return "no error";
    case ShaderError::NoGlContext: return "no OpenGL context is current";
    case ShaderError::InvalidProfile: return "the profile is not supported";
    case ShaderError::FileReadError: return "the program file cannot be read";
    case ShaderError::CompileError: return "the program has compile errors";
    case ShaderError::LinkError: return "the program cannot be linked";
    case ShaderError::InvalidProgram: return "the program does not exist";
    case ShaderError::InvalidOption: return "unknown compiler option";
    }
    return "unknown error";
}

void ShaderContext::SetErrorHandler(ShaderErrorHandler h, void* userData)
{
    handler = h;
    handlerData = userData;
}

ShaderError ShaderContext::GetError() { return std::exchange(pendingError, ShaderError::NoError); }

void ShaderContext::RaiseError(ShaderError error, std::string listing)
{
    pendingError = error;
    lastListing = std::move(listing);
    if (handler)
        handler(this, error, handlerData);
}

ShaderProfile ShaderContext::LatestProfile(ShaderStage)
{
    // Both stages share one language version in GLSL.
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_SHADING_LANGUAGE_VERSION));
    int major = 0, minor = 0;
    if (text == nullptr || std::sscanf(text, "%d.%d", &major, &minor) != 2)
        return kProfileUnknown;
    const int version = major * 100 + minor;
    if (version < 110)
        return kProfileUnknown;
    // 1.30 and 1.40 drop the built-ins the programs use unless the
    // compatibility keyword (1.50 on) is available; 1.20 keeps them.
    return version >= 150 ? version : (version > 120 ? 120 : version);
}

std::string ShaderContext::VersionLine(ShaderProfile profile)
{
    std::string line = "#version " + std::to_string(profile);
    if (profile >= 150)
        line += " compatibility";
    return line + "\n";
}
