#include "app/StateFiles.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "app/GlobalVariable.h"
#include "app/ObstacleFiles.h"
#include "app/ParameterAssignment.h"
#include "app/Parameters.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/ReadRegularFile.h"
#include "sim/ObstacleLimits.h"

namespace {
// A parameter of the file that its declared range does not allow.
std::string OutOfRange(const GlobalVariable& variable, const void* bytes)
{
    if (InDeclaredRange(variable, bytes))
        return {};
    return std::string("the file's ") + variable.GetVariableName() + " is outside its range " +
           DeclaredRange(variable);
}
}  // namespace

StateParameterList StateParameters(const SimulationState& state)
{
    return {{{&params::gridWidth, &state.width},
             {&params::gridHeight, &state.height},
             {&params::simulationType, &state.simulationType},
             {&params::flowVelX, &state.flowVelX},
             {&params::flowVelY, &state.flowVelY},
             {&params::invViscosity, &state.invViscosity}}};
}

std::string SaveStateFile(const std::string& path, const SimulationState& state, const AtomicWriteOptions& options)
{
    if (std::string why = UnstorableObstacles(state.obstacles); !why.empty())
        return why;
    if (const int error =
            WriteFileAtomically(path, [&state](const ByteSink& sink) { return EncodeState(state, sink); }, options))
        return std::strerror(error);
    return {};
}

std::string LoadStateFile(const std::string& path, SimulationState& state)
{
    // The largest grid the parameters allow, with the most obstacles a file
    // may hold: nothing larger is read into memory.
    const uint64_t maxBytes = StateFileBytes(params::gridWidth.Maximum(), params::gridHeight.Maximum(),
                                             kMaxObstaclesInFile);
    std::vector<uint8_t> bytes;
    if (std::string why = ReadRegularFile(path, static_cast<size_t>(maxBytes), bytes); !why.empty())
        return why;
    SimulationState read;
    if (std::string why = DecodeState(bytes.data(), bytes.size(), read); !why.empty())
        return why;
    for (const auto& [variable, value] : StateParameters(read))
        if (std::string why = OutOfRange(*variable, value); !why.empty())
            return why;
    state = std::move(read);
    return {};
}
