#include "sim/Checkpoint.h"

#include <limits>

namespace {
// FetchGridState and LoadGridState take their size as an int.
bool SizeFitsAnInt(size_t cells)
{
    return cells <= static_cast<size_t>(std::numeric_limits<int>::max()) / sizeof(LatticeCell);
}
}  // namespace

bool CaptureSimulation(LbmSimulator& simulator, SimulationState& state)
{
    if (state.width < 1 || state.height < 1)
        return false;
    const size_t cells = static_cast<size_t>(state.width) * static_cast<size_t>(state.height);
    if (!SizeFitsAnInt(cells))
        return false;
    std::vector<LatticeCell> lattice(cells, LatticeCell{});
    if (!simulator.FetchGridState(reinterpret_cast<float*>(lattice.data()),
                                  static_cast<int>(cells * sizeof(LatticeCell))))
        return false;
    state.cells = std::move(lattice);
    state.obstacles.assign(simulator.Obstacles().begin(), simulator.Obstacles().end());
    return true;
}

bool RestoreSimulation(LbmSimulator& simulator, const SimulationState& state)
{
    if (!SizeFitsAnInt(state.cells.size()))
        return false;
    simulator.AddObstacles(state.obstacles);
    return simulator.LoadGridState(reinterpret_cast<const float*>(state.cells.data()),
                                   static_cast<int>(state.cells.size() * sizeof(LatticeCell)));
}
