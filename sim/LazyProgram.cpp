#include "sim/LazyProgram.h"

#include "platform/gl/RenderContext.h"

const FragmentProgram* LazyProgram::Get()
{
    const uint64_t serial = CurrentRenderContextSerial();
    if (serial == 0)
        return nullptr;
    if (serial != contextSerial) {
        contextSerial = serial;
        program.reset();
        program.emplace(CurrentFragmentProfile());
        program->Load(fileName, "main");
    }
    return program->IsLoaded() ? &*program : nullptr;
}
