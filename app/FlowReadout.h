// The numbers of the status line: taken from a lattice read back about once
// a second (never per step), and kept so that the cell under the mouse can
// be shown from the same reading as the rest.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/ClientToGrid.h"
#include "sim/LbmSimulator.h"
#include "sim/MomentumExchange.h"
#include "sim/StateFile.h"

struct FlowNumbers {
    int64_t step = 0;
    // The length of the Reynolds number and of the coefficients: the height
    // of the first obstacle, or the grid's height when there is none.
    double length = 0.0;
    double reynolds = 0.0;  // u L / nu
    BodyForce force;        // on all obstacles together, lattice units
    // The force along the inflow and across it (90 degrees to its left);
    // along x and y when the inflow is at rest.
    double drag = 0.0;
    double lift = 0.0;
    // F / (rho u^2 L / 2) with rho = 1; absent when the inflow is at rest.
    std::optional<double> dragCoefficient;
    std::optional<double> liftCoefficient;
};

// run: what the numbers are measured against, the current simulation's
// grid, inflow, viscosity and step (its obstacles and cells are not used).
FlowNumbers ComputeFlowNumbers(const std::vector<LatticeCell>& cells, const LbmSimulator::ObstacleList& obstacles,
                               const SimulationState& run);

// "Step 1200   Re 40.0   Drag 0.0123 (Cd 1.23)   Lift ..."
std::string FlowLine(const FlowNumbers& numbers);
// "Cell (100, 50): u = (0.1012, -0.0031), rho = 1.0021"
std::string CellLine(int32_t gx, int32_t gy, const LatticeCell& cell);

class FlowReadout {
public:
    // Reads the simulator's lattice and works the numbers out afresh.  A
    // simulator that refuses its lattice leaves nothing to show.
    void Refresh(LbmSimulator& simulator, const SimulationState& run);
    // Forgets the last reading (a new simulation).
    void Clear();

    // Empty before the first reading.
    std::string FlowText() const;
    // The cell at point as the last reading saw it; empty for a point
    // outside the grid, or without a reading.
    std::string CellText(const GridPoint& point) const;

private:
    std::vector<LatticeCell> cells;
    int32_t width = 0;
    int32_t height = 0;
    std::optional<FlowNumbers> numbers;
};
