// A running simulation into a saved state and back: the lattice in the
// solver-independent cell order and the obstacle list.  The caller records
// the run's step count and parameters beside them.
#pragma once

#include "sim/LbmSimulator.h"
#include "sim/StateFile.h"

// The whole lattice of a width x height simulator in cell order; false when
// the simulator refuses it or the size cannot be asked for.  cells of the
// right size already are filled in place (and hold anything after a
// failure); any other cells are left alone on failure.
bool FetchLattice(LbmSimulator& simulator, int width, int height, std::vector<LatticeCell>& cells);

// Fills state.obstacles and state.cells for a simulator of state.width x
// state.height; false when the simulator refuses its lattice.
bool CaptureSimulation(LbmSimulator& simulator, SimulationState& state);

// Adds the state's obstacles and loads its lattice into a simulator built
// for the state's grid and started with its viscosity and inflow (the
// order of use after construction).  False when the lattice is refused.
bool RestoreSimulation(LbmSimulator& simulator, const SimulationState& state);

// The index of the first cell holding a value beyond
// d2q9::kBlownUpMagnitude or not finite (the test LbmSimulator::BlownUp
// makes), or cells.size() when there is none.
size_t FirstBlownUpCell(const std::vector<LatticeCell>& cells);
