#include "app/FlowReadout.h"

#include <cmath>
#include <cstdio>

#include "sim/Checkpoint.h"
#include "sim/ObstacleMask.h"

namespace {

std::string Printed(const char* format, auto... values)
{
    char text[160];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

}  // namespace

FlowNumbers ComputeFlowNumbers(const std::vector<LatticeCell>& cells, const LbmSimulator::ObstacleList& obstacles,
                               const SimulationState& run)
{
    FlowNumbers n;
    n.step = run.step;
    const int W = run.width, H = run.height;
    // An obstacle read from a file may be of any size; one without height
    // gives no length to measure by.
    n.length = !obstacles.empty() && obstacles.front().height > 0 ? obstacles.front().height : H;
    const double ux = run.flowVelX, uy = run.flowVelY;
    const double speed = std::hypot(ux, uy);
    // The wrappers keep invViscosity within its range, never 0.
    n.reynolds = speed * n.length * static_cast<double>(run.invViscosity);

    if (W > 0 && H > 0 && cells.size() == static_cast<size_t>(W) * static_cast<size_t>(H)) {
        std::vector<int32_t> mask(cells.size(), 0);
        BuildObstacleMask(mask, W, H, obstacles);
        n.force = MomentumExchangeForce(cells, mask, W, H);
    }
    const bool flowing = speed > 0.0;
    const double ex = flowing ? ux / speed : 1.0, ey = flowing ? uy / speed : 0.0;
    n.drag = n.force.fx * ex + n.force.fy * ey;
    n.lift = -n.force.fx * ey + n.force.fy * ex;
    if (flowing) {
        const double dynamic = 0.5 * speed * speed * n.length;
        n.dragCoefficient = n.drag / dynamic;
        n.liftCoefficient = n.lift / dynamic;
    }
    return n;
}

std::string FlowLine(const FlowNumbers& n)
{
    std::string line = Printed("Step %lld    Re %.1f (L %g)    Drag %.4g", static_cast<long long>(n.step), n.reynolds,
                               n.length, n.drag);
    if (n.dragCoefficient)
        line += Printed(" (Cd %.3f)", *n.dragCoefficient);
    line += Printed("    Lift %.4g", n.lift);
    if (n.liftCoefficient)
        line += Printed(" (Cl %.3f)", *n.liftCoefficient);
    return line;
}

std::string CellLine(int32_t gx, int32_t gy, const LatticeCell& cell)
{
    const Macroscopic m = ComputeMacroscopic(cell);
    return Printed("Cell (%d, %d):  u = (%.4f, %.4f)   |u| = %.4f   \xcf\x81 = %.5f", gx, gy, m.ux, m.uy,
                   std::hypot(m.ux, m.uy), m.rho);
}

void FlowReadout::Refresh(LbmSimulator& simulator, const SimulationState& run)
{
    if (!FetchLattice(simulator, run.width, run.height, cells)) {
        Clear();
        return;
    }
    width = run.width;
    height = run.height;
    numbers = ComputeFlowNumbers(cells, simulator.Obstacles(), run);
}

void FlowReadout::Clear()
{
    cells.clear();
    width = height = 0;
    numbers.reset();
}

std::string FlowReadout::FlowText() const { return numbers ? FlowLine(*numbers) : std::string(); }

std::string FlowReadout::CellText(const GridPoint& point) const
{
    if (!numbers || !point.inside || point.gx >= width || point.gy >= height)
        return {};
    return CellLine(point.gx, point.gy, cells[static_cast<size_t>(point.gy) * static_cast<size_t>(width) +
                                             static_cast<size_t>(point.gx)]);
}
