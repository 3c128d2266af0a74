// The per-thread record of the drawing context and the shader context.
// The rest of the program reaches it through the Current* functions instead
// of passing it around.  At most one record per thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gl/GlDrawable.h"
#include "platform/gl/ShaderContext.h"
#include "platform/usermessages/MessageSink.h"

class QWindow;

struct RenderContext {
    QWindow* window = nullptr;                     // null for a headless context
    std::unique_ptr<GlDrawable> drawable;          // GL context and its surface
    std::unique_ptr<ShaderContext> shaderContext;  // errors go to ReportShaderError
    ShaderProfile vertexProfile = kProfileUnknown;
    ShaderProfile fragmentProfile = kProfileUnknown;
    // Distinct for every record ever created in the process, so that GL
    // objects made under one context are never used or deleted under another.
    uint64_t serial = 0;
};

// Creates a compatibility-profile, double-buffered GL context on window,
// with 24-bit colour, a depth buffer and swap interval 0.  Pass a QWindow
// whose native window is not created yet (it is then created with an
// OpenGL surface) or one created with QSurface::OpenGLSurface; it may be
// wrapped by QWidget::createWindowContainer.  The context stays current on
// the calling thread until DestroyRenderContext.  Also creates the shader
// context and installs the record for the calling thread; kProfileUnknown
// picks the latest profile.  On failure reports what failed (one message)
// and returns false; the thread then has no record and every user of the
// record does nothing.
bool CreateRenderContext(QWindow* window, ShaderProfile vertexProfile = kProfileUnknown,
                         ShaderProfile fragmentProfile = kProfileUnknown);

// Releases the calling thread's record: shader context, then GL context.
// Does nothing when the thread has none.
void DestroyRenderContext();

RenderContext* CurrentRenderContext();
// The serial of the calling thread's record, 0 when it has none.  GL object
// owners remember it to tell whether their names still belong to the
// context that is current.
uint64_t CurrentRenderContextSerial();
ShaderContext* CurrentShaderContext();
ShaderProfile CurrentFragmentProfile();

// Swaps the buffers of the calling thread's context (flushes when headless).
void PresentFrame();

// The shader context's error handler: a message captioned "CG error: " plus
// the error text, showing the last compiler listing or "NULL".
void ReportShaderError(ShaderContext* context, ShaderError error, void* userData);

// For tests: live records in the process, and whether the thread slot exists.
int LiveRenderContextCount();
bool RenderContextSlotAllocated();

// Installs a record built by one of the creators above (internal to this
// layer; the headless creator uses it too).  Fails if the thread has one.
bool InstallRenderContext(std::unique_ptr<RenderContext> record);
