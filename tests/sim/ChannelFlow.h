// A channel as a user builds it with the "Poiseuille flow" preset: walls one
// cell high on the rows just inside the frame, the frame feeding the inflow
// at the left and taking the outflow at the right.  What the physics tests
// measure in it, in lattice units.
#pragma once

#include <vector>

#include "sim/LbmSimulator.h"

struct Channel {
    int W;
    int H;

    // Fluid rows are 2 .. H - 3.  Bounce-back puts each wall halfway between
    // its obstacle row and the first fluid row, so the channel is H - 4 wide.
    int FirstFluidRow() const { return 2; }
    int FluidRows() const { return H - 4; }
    double Width() const { return H - 4; }
    // Distance of a row's cell centres from the lower wall.
    double FromLowerWall(int row) const { return row - 1.5; }
};

// Starts the simulator as the program does (viscosity 1 / invViscosity,
// boundary and flow at (u, 0)) and adds the two walls.
void StartChannel(LbmSimulator& sim, const Channel& channel, float invViscosity, float u);

std::vector<LatticeCell> FetchCells(LbmSimulator& sim, const Channel& channel);

// The x velocity of every fluid row in column x, lower wall first.
std::vector<double> VelocityProfile(const std::vector<LatticeCell>& cells, const Channel& channel, int x);

// d(rho)/dx from a least-squares line through the channel's mean density
// of the columns x0 .. x1.
double DensityGradient(const std::vector<LatticeCell>& cells, const Channel& channel, int x0, int x1);

// Mean density of the fluid rows in column x.
double MeanDensity(const std::vector<LatticeCell>& cells, const Channel& channel, int x);

// Amplitude of the slowest shear mode, sin(pi y / width) with y measured
// from the lower wall; the sampled sines are orthogonal on the fluid rows,
// so the faster modes do not leak into it.
double SlowestShearMode(const std::vector<double>& profile, const Channel& channel);

// Rate of the slowest shear mode's exponential decay in the middle column
// between the steps `first` and `last` counted from now; NaN when the
// state cannot be fetched.
double ShearDecayRate(LbmSimulator& sim, const Channel& channel, int first, int last);
