#include "sim/ProgramBinding.h"

#include "platform/gl/ShaderProgram.h"

ProgramBinding::ProgramBinding(const FragmentProgram& program) : program(program)
{
    if (!program.IsLoaded())
        return;
    program.Program()->Bind();
    bound = true;
}

ProgramBinding::~ProgramBinding()
{
    if (bound)
        ShaderProgram::Unbind();
}
