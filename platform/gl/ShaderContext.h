// The shader layer: a small run-time over GLSL that compiles fragment
// programs from files, keeps the last error and compiler listing, and calls
// an error handler on every error.  A context belongs to the thread whose GL
// context is current; it holds no GL object itself.
#pragma once

#include <string>

// A profile names the GLSL language version a program is compiled for; the
// program files carry no #version line of their own.
using ShaderProfile = int;
inline constexpr ShaderProfile kProfileUnknown = 6145;

enum class ShaderStage { Vertex, Fragment };

enum class ShaderError {
    NoError = 0,
    NoGlContext,       // no GL context is current on this thread
    InvalidProfile,    // the profile is unknown or not supported by the context
    FileReadError,     // the program file cannot be opened or read
    CompileError,      // the compiler rejected the program; see the listing
    LinkError,         // the linker rejected the program; see the listing
    InvalidProgram,    // an operation on a program that does not exist
    InvalidOption,     // a compiler option the layer does not understand
};

const char* ShaderErrorString(ShaderError error);

class ShaderContext;
using ShaderErrorHandler = void (*)(ShaderContext* context, ShaderError error, void* userData);

class ShaderContext {
public:
    ShaderContext() = default;
    ShaderContext(const ShaderContext&) = delete;
    ShaderContext& operator=(const ShaderContext&) = delete;

    void SetErrorHandler(ShaderErrorHandler handler, void* userData);

    // Returns the error recorded since the last call and clears it.
    ShaderError GetError();

    // The compiler or linker output of the last failure; empty when the last
    // error produced none.
    const std::string& LastListing() const { return lastListing; }

    // Records the error with its listing and calls the handler.
    void RaiseError(ShaderError error, std::string listing = {});

    // The newest profile the current GL context compiles for stage, or
    // kProfileUnknown when none is current or GLSL is missing.
    static ShaderProfile LatestProfile(ShaderStage stage);

    // The line that opens every compiled program for this profile.
    static std::string VersionLine(ShaderProfile profile);

private:
    ShaderErrorHandler handler = nullptr;
    void* handlerData = nullptr;
    ShaderError pendingError = ShaderError::NoError;
    std::string lastListing;
};
