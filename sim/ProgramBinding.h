// Scope that makes a fragment program current and undoes it on every exit.
// A program that failed to load binds nothing: its error was reported at
// load time, and reporting it every frame would help nobody.
#pragma once

#include "sim/FragmentProgram.h"

class ProgramBinding {
public:
    explicit ProgramBinding(const FragmentProgram& program);
    ~ProgramBinding();
    ProgramBinding(const ProgramBinding&) = delete;
    ProgramBinding& operator=(const ProgramBinding&) = delete;

    bool Bound() const { return bound; }

private:
    const FragmentProgram& program;
    bool bound = false;
};
