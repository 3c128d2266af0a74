// What a RenderContext draws into: a GL context made current on this thread
// together with the surface it presents to (a window, or none when headless).
// The destructor releases the GL context; the owner makes it current first.
#pragma once

#include <string>

class GlDrawable {
public:
    virtual ~GlDrawable() = default;
    virtual void Present() = 0;
    virtual void DoneCurrent() = 0;
    // "OpenGL 4.5 (Compatibility Profile) ..." and the like, for messages.
    virtual std::string Describe() const = 0;
};
