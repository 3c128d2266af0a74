#include <epoxy/gl.h>

#include "sim/FragmentProgram.h"

#include "platform/gl/RenderContext.h"
#include "platform/gl/ShaderProgram.h"
#include "sim/FragmentProgramFile.h"

FragmentProgram::FragmentProgram(ShaderProfile profile) : profile(profile) {}

FragmentProgram::~FragmentProgram() { Destroy(); }

void FragmentProgram::Destroy()
{
    // A program of a vanished context died with it; deleting it now would
    // touch whatever context is current.
    if (program && contextSerial != CurrentRenderContextSerial())
        program->Abandon();
    program.reset();
}

bool FragmentProgram::IsLoaded() const
{
    return program && program->IsLoaded() && contextSerial == CurrentRenderContextSerial();
}

bool FragmentProgram::Load(const std::string& fileName, const std::string& entry)
{
    Destroy();
    ShaderContext* context = CurrentShaderContext();
    if (context == nullptr)
        return false;
    context->GetError();  // only this load's errors count
    program = ShaderProgram::CreateFromFile(*context, FindFragmentProgramFile(fileName), profile, entry, options);
    if (context->GetError() != ShaderError::NoError || !program) {
        program.reset();
        return false;
    }
    contextSerial = CurrentRenderContextSerial();
    program->Load();
    if (context->GetError() != ShaderError::NoError) {
        program.reset();
        return false;
    }
    return true;
}

void FragmentProgram::SetParameter(const char* name, float x) const
{
    if (IsLoaded())
        program->SetParameter(name, x);
}

void FragmentProgram::SetParameter(const char* name, float x, float y) const
{
    if (IsLoaded())
        program->SetParameter(name, x, y);
}

void FragmentProgram::SetParameter(const char* name, float x, float y, float z) const
{
    if (IsLoaded())
        program->SetParameter(name, x, y, z);
}
