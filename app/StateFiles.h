// Saved simulation states as files (sim/StateFile.h has the format), with
// the run's parameters checked against the ranges they are declared with.
#pragma once

#include <array>
#include <string>
#include <utility>

#include "app/GlobalVariable.h"
#include "platform/files/AtomicFile.h"
#include "sim/StateFile.h"

// The parameters a saved state holds, each beside the state's field with
// its value in the parameter's own four-byte layout.
using StateParameterList = std::array<std::pair<const GlobalVariable*, const void*>, 6>;
StateParameterList StateParameters(const SimulationState& state);

// Replaces the file at path in one step; an empty string or the reason.
// A state whose obstacles a file could not hold is refused unwritten.
std::string SaveStateFile(const std::string& path, const SimulationState& state,
                          const AtomicWriteOptions& options = {});

// Reads and checks a whole file.  Returns an empty string and fills state,
// or a one-line reason (damaged, truncated, another format, a grid size or
// parameter outside its declared range) and leaves state alone.
std::string LoadStateFile(const std::string& path, SimulationState& state);
