// The "Dump / Velocity" file: ux, uy and density of every cell, in cell
// order, as little-endian 32-bit floats, with no header.
#pragma once

#include <string>
#include <vector>

#include "sim/LbmSimulator.h"

enum class VelocityDumpStatus {
    Written,
    FetchFailed,  // the simulator refused its state; no file was touched
    WriteFailed,  // the file could not be created or not fully written
};

struct VelocityDumpResult {
    VelocityDumpStatus status;
    std::string fileName;  // "vel_{W}x{H}.dat"
    std::string error;     // for WriteFailed: what the system said
};

// "vel_{0}x{1}.dat" for the grid size.
std::string VelocityDumpFileName(int width, int height);

// Three floats per cell, (ux, uy, rho) by ComputeMacroscopic in cell order,
// from the simulator's state; false when it refuses.
bool ComputeVelocityField(LbmSimulator& simulator, int width, int height, std::vector<float>& field);

// Writes the dump of a simulator created with width x height into folder
// (empty: the working folder), replacing any file of the same name in one
// step: a dump that fails leaves the previous file whole, and a symbolic
// link of that name is replaced, never written through.
VelocityDumpResult WriteVelocityDump(LbmSimulator& simulator, int width, int height, const std::string& folder = {});
