#include "sim/Checkpoint.h"

#include <limits>

namespace {
// FetchGridState and LoadGridState take their size as an int.
bool SizeFitsAnInt(size_t cells)
{
    return cells <= static_cast<size_t>(std::numeric_limits<int>::max()) / sizeof(LatticeCell);
}
}  // namespace

bool FetchLattice(LbmSimulator& simulator, int width, int height, std::vector<LatticeCell>& cells)
{
    if (width <= 0 || height <= 0)
        return false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (!SizeFitsAnInt(count))
        return false;
    // A lattice of the right size is filled in place: a study and the
    // window's read-outs fetch it again and again, and fresh memory costs
    // its page faults every time.
    if (cells.size() == count)
        return simulator.FetchGridState(reinterpret_cast<float*>(cells.data()),
                                        static_cast<int>(count * sizeof(LatticeCell)));
    std::vector<LatticeCell> lattice(count, LatticeCell{});
    if (!simulator.FetchGridState(reinterpret_cast<float*>(lattice.data()),
                                  static_cast<int>(count * sizeof(LatticeCell))))
        return false;
    cells = std::move(lattice);
    return true;
}

bool CaptureSimulation(LbmSimulator& simulator, SimulationState& state)
{
    if (!FetchLattice(simulator, state.width, state.height, state.cells))
        return false;
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

namespace {
template <typename Test>
size_t FirstCellWith(const std::vector<LatticeCell>& cells, Test test)
{
    for (size_t n = 0; n < cells.size(); ++n)
        for (float v : cells[n].f)
            if (test(v))
                return n;
    return cells.size();
}
}  // namespace

size_t FirstBlownUpCell(const std::vector<LatticeCell>& cells)
{
    // A study checks every lattice it saves: a sound one, the usual case,
    // costs one vectorised pass, and only a blown-up one a search by cell.
    const size_t values = cells.size() * (sizeof(LatticeCell) / sizeof(float));
    if (!d2q9::AnyBlownUpValue(reinterpret_cast<const float*>(cells.data()), values))
        return cells.size();
    return FirstCellWith(cells, d2q9::IsBlownUpValue);
}
