// One fragment program of the shader layer: GLSL read from a file, compiled
// for a profile, linked into a GL program object (the vertex stage stays
// fixed-function).  Needs the GL context of its shader context to be current.
//
// Samplers take their texture unit from the digits that end their name
// ("lattice2" reads unit 2, "hueWheel3" unit 3); a sampler without trailing
// digits reads unit 0.  Options are "-DNAME" or "-DNAME=VALUE" and become
// #define lines after the version line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gl/ShaderContext.h"

class ShaderProgram {
public:
    ~ShaderProgram();
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    // Reads and compiles fileName.  On failure raises the error on context
    // (with the compiler listing) and returns null.
    static std::unique_ptr<ShaderProgram> CreateFromFile(ShaderContext& context, const std::string& fileName,
                                                         ShaderProfile profile, const std::string& entry,
                                                         const std::vector<std::string>& options);

    // Links the compiled shader into a program object; raises LinkError with
    // the linker listing and returns false on failure.
    bool Load();
    bool IsLoaded() const { return program != 0; }

    void Bind() const;
    static void Unbind();

    // -1 when the program has no active uniform of that name.
    int ParameterLocation(const char* name) const;
    // Parameters the program lacks are skipped silently.
    void SetParameter(const char* name, float x) const;
    void SetParameter(const char* name, float x, float y) const;
    void SetParameter(const char* name, float x, float y, float z) const;

    uint32_t GlProgram() const { return program; }
    // Forgets the GL names without deleting them: their context is gone.
    void Abandon() { shader = 0; program = 0; }

private:
    ShaderProgram(ShaderContext& context, uint32_t shader) : context(context), shader(shader) {}
    template <typename SetFn> void WithProgramCurrent(SetFn set) const;

    ShaderContext& context;
    uint32_t shader = 0;
    uint32_t program = 0;
};
