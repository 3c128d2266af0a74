// A fragment program of the shader layer, loaded from a file, with
// parameters set by name on every use.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gl/ShaderContext.h"

class ShaderProgram;

class FragmentProgram {
public:
    explicit FragmentProgram(ShaderProfile profile);
    ~FragmentProgram();
    FragmentProgram(const FragmentProgram&) = delete;
    FragmentProgram& operator=(const FragmentProgram&) = delete;

    // Replaces any previous program.  Errors reach the shader context's
    // handler once; the result is false then.
    bool Load(const std::string& fileName, const std::string& entry);
    void Destroy();
    bool IsLoaded() const;

    void SetParameter(const char* name, float x) const;
    void SetParameter(const char* name, float x, float y) const;
    void SetParameter(const char* name, float x, float y, float z) const;

    ShaderProfile Profile() const { return profile; }
    const ShaderProgram* Program() const { return program.get(); }

private:
    std::unique_ptr<ShaderProgram> program;
    ShaderProfile profile;
    std::vector<std::string> options;
    uint64_t contextSerial = 0;
};
