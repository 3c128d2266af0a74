// A saved simulation: everything needed to continue a run bit for bit.
//
// Layout, little-endian throughout:
//     0  8 bytes  magic "EDDYSTAT"
//     8  uint32   format version (1)
//    12  uint32   cell order (1: rows from the bottom, each from the left,
//                 nine float32 per cell in direction order 0..8)
//    16  int32    width W, int32 height H
//    24  int64    steps done since the run started
//    32  int32    solver kind ("init|simulationType" index)
//    36  float32  inflow velocity x, y; float32 inverse viscosity
//    48  uint32   obstacle count n
//    52  n obstacles of five int32 (isEllipse, x, y, width, height)
//        W * H cells of nine float32
//        uint32   CRC-32 of every byte before it
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/bytes/ByteSink.h"
#include "sim/Lattice.h"

struct SimulationState {
    int32_t width = 0;
    int32_t height = 0;
    int64_t step = 0;
    int32_t simulationType = 0;
    float flowVelX = 0.0f;
    float flowVelY = 0.0f;
    float invViscosity = 0.0f;
    std::vector<Obstacle> obstacles;
    std::vector<LatticeCell> cells;  // width * height, cell order
};

inline constexpr uint32_t kStateFileVersion = 1;
// More steps than any run could take; a larger count in a file is refused,
// so that continuing a run never overflows its step count.
inline constexpr int64_t kMaxRunSteps = 1'000'000'000'000'000;
inline constexpr size_t kStateHeaderBytes = 52;

// The file's bytes, to sink or in memory; the state must be whole
// (cells.size() == W * H).  False when the sink refused a block.
bool EncodeState(const SimulationState& state, const ByteSink& sink);
std::vector<char> EncodeState(const SimulationState& state);

// The file's size for a grid and an obstacle count.
uint64_t StateFileBytes(int64_t width, int64_t height, uint64_t obstacles);

// Reads a whole file's bytes.  Returns an empty string and fills state, or
// says what is wrong and leaves state alone: a short or long file, another
// format or version, a checksum that does not match, an obstacle out of the
// file range, or a value that is not a finite number.  Sizes are checked
// against the byte count before anything is allocated.
std::string DecodeState(const uint8_t* bytes, size_t size, SimulationState& state);
