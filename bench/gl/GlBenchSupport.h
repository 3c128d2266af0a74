// Shared by the drawing benchmark and the picture tool: a headless context
// with the working folder where "cg/" lies, and the off-screen target.
#pragma once

#include <epoxy/gl.h>

#include <filesystem>

#include "platform/gl/HeadlessRenderContext.h"
#include "platform/gl/RenderContext.h"
#include "tests/gl/OffscreenTarget.h"

inline bool StartHeadless()
{
    std::filesystem::current_path(EDDYRA_SOURCE_DIR);
    return CreateHeadlessRenderContext();
}

