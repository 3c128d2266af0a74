// A fragment program loaded from its file the first time it is drawn with
// under a context: a view that is never chosen costs nothing and reports
// nothing, and a new context gets a fresh program.  A file that fails is
// reported by the shader layer once per context, not once per frame.
#pragma once

#include <cstdint>
#include <optional>

#include "sim/FragmentProgram.h"

class LazyProgram {
public:
    explicit LazyProgram(const char* fileName) : fileName(fileName) {}

    // The loaded program, or nullptr without a context or when the file
    // failed to load under this one.
    const FragmentProgram* Get();

private:
    const char* fileName;
    std::optional<FragmentProgram> program;
    uint64_t contextSerial = 0;
};
