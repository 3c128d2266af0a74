// A drawing context without any window system, for tests and benchmarks:
// EGL on Mesa's surfaceless platform, compatibility profile, no default
// framebuffer (draw into framebuffer objects).  Installed in the same
// per-thread record as a window's context; DestroyRenderContext removes it.
#pragma once

#include "platform/gl/ShaderContext.h"

bool CreateHeadlessRenderContext(ShaderProfile vertexProfile = kProfileUnknown,
                                 ShaderProfile fragmentProfile = kProfileUnknown);
