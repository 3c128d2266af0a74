#include "sim/StateFile.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "sim/Crc32.h"
#include "sim/LittleEndian.h"
#include "sim/ObstacleLimits.h"

namespace {
constexpr char kMagic[8] = {'E', 'D', 'D', 'Y', 'S', 'T', 'A', 'T'};
constexpr uint32_t kCellOrderRowsFromBottom = 1;
constexpr int32_t kMaxGridSide = 1 << 16;
}  // namespace

uint64_t StateFileBytes(int64_t width, int64_t height, uint64_t obstacles)
{
    return kStateHeaderBytes + obstacles * sizeof(Obstacle) +
           static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * sizeof(LatticeCell) + sizeof(uint32_t);
}

bool EncodeState(const SimulationState& s, const ByteSink& sink)
{
    std::vector<char> head;
    head.reserve(kStateHeaderBytes + s.obstacles.size() * sizeof(Obstacle));
    head.insert(head.end(), kMagic, kMagic + sizeof kMagic);
    le::Append<uint32_t>(head, kStateFileVersion);
    le::Append<uint32_t>(head, kCellOrderRowsFromBottom);
    le::Append<int32_t>(head, s.width);
    le::Append<int32_t>(head, s.height);
    le::Append<int64_t>(head, s.step);
    le::Append<int32_t>(head, s.simulationType);
    le::Append<float>(head, s.flowVelX);
    le::Append<float>(head, s.flowVelY);
    le::Append<float>(head, s.invViscosity);
    le::Append<uint32_t>(head, static_cast<uint32_t>(s.obstacles.size()));
    for (const Obstacle& o : s.obstacles)
        for (int32_t v : {o.isEllipse, o.x, o.y, o.width, o.height})
            le::Append<int32_t>(head, v);
    uint32_t crc = Crc32(head.data(), head.size());
    if (!sink(head.data(), head.size()))
        return false;

    // The cells in blocks that the checksum reads just before the sink
    // copies them, while they are still in the cache; on a little-endian
    // machine straight from the lattice.
    const float* values = reinterpret_cast<const float*>(s.cells.data());
    const size_t total = s.cells.size() * 9;
    constexpr size_t kBlock = 9 << 13;  // whole cells, about 300 KB
    std::vector<float> swapped;
    for (size_t at = 0; at < total; at += kBlock) {
        const size_t count = std::min(kBlock, total - at);
        const float* block = values + at;
        if constexpr (std::endian::native == std::endian::big) {
            swapped.assign(block, block + count);
            le::ToFileOrder(swapped.data(), count);
            block = swapped.data();
        }
        crc = Crc32(block, count * sizeof(float), crc);
        if (!sink(block, count * sizeof(float)))
            return false;
    }
    std::vector<char> tail;
    le::Append<uint32_t>(tail, crc);
    return sink(tail.data(), tail.size());
}

std::vector<char> EncodeState(const SimulationState& s)
{
    std::vector<char> out;
    out.reserve(StateFileBytes(s.width, s.height, s.obstacles.size()));
    EncodeState(s, AppendTo(out));
    return out;
}

std::string DecodeState(const uint8_t* bytes, size_t size, SimulationState& state)
{
    if (size < kStateHeaderBytes + sizeof(uint32_t) || std::memcmp(bytes, kMagic, sizeof kMagic) != 0)
        return size >= sizeof kMagic && std::memcmp(bytes, kMagic, sizeof kMagic) == 0
                   ? "the file is truncated (" + std::to_string(size) + " bytes)"
                   : "this is not a saved simulation state";
    const uint32_t version = le::Read<uint32_t>(bytes + 8);
    if (version != kStateFileVersion)
        return "the file has format version " + std::to_string(version) + "; this program reads version " +
               std::to_string(kStateFileVersion);
    if (le::Read<uint32_t>(bytes + 12) != kCellOrderRowsFromBottom)
        return "the file stores its cells in an unknown order";
    const int32_t width = le::Read<int32_t>(bytes + 16);
    const int32_t height = le::Read<int32_t>(bytes + 20);
    const uint32_t count = le::Read<uint32_t>(bytes + 48);
    // Bounding the sides keeps the size arithmetic below far from overflow.
    if (width < 1 || height < 1 || width > kMaxGridSide || height > kMaxGridSide)
        return "the file's grid of " + std::to_string(width) + " x " + std::to_string(height) +
               " cells is empty or too large";
    if (count > kMaxObstaclesInFile)
        return "the file lists " + std::to_string(count) + " obstacles, more than the " +
               std::to_string(kMaxObstaclesInFile) + " a file may hold";
    const uint64_t expected = StateFileBytes(width, height, count);
    if (size != expected)
        return std::string(size < expected ? "the file is truncated" : "the file has trailing bytes") + ": " +
               std::to_string(size) + " bytes where a " + std::to_string(width) + " x " + std::to_string(height) +
               " grid with " + std::to_string(count) + " obstacles needs " + std::to_string(expected);
    if (Crc32(bytes, size - sizeof(uint32_t)) != le::Read<uint32_t>(bytes + size - sizeof(uint32_t)))
        return "the file is damaged (its checksum does not match)";

    SimulationState s;
    s.width = width;
    s.height = height;
    s.step = le::Read<int64_t>(bytes + 24);
    s.simulationType = le::Read<int32_t>(bytes + 32);
    s.flowVelX = le::Read<float>(bytes + 36);
    s.flowVelY = le::Read<float>(bytes + 40);
    s.invViscosity = le::Read<float>(bytes + 44);
    if (s.step < 0 || s.step > kMaxRunSteps)
        return "the file's step count " + std::to_string(s.step) + " is negative or beyond any run";
    if (!std::isfinite(s.flowVelX) || !std::isfinite(s.flowVelY) || !std::isfinite(s.invViscosity))
        return "the file's inflow velocity or viscosity is not a finite number";

    const uint8_t* at = bytes + kStateHeaderBytes;
    s.obstacles.resize(count);
    for (uint32_t i = 0; i < count; ++i, at += sizeof(Obstacle)) {
        Obstacle& o = s.obstacles[i];
        o = {le::Read<int32_t>(at), le::Read<int32_t>(at + 4), le::Read<int32_t>(at + 8), le::Read<int32_t>(at + 12),
             le::Read<int32_t>(at + 16)};
        if (!IsStorableObstacle(o))
            return "obstacle " + std::to_string(i + 1) + " of the file is out of range";
    }
    const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
    s.cells.resize(cells);
    for (size_t n = 0; n < cells; ++n) {
        for (int i = 0; i < 9; ++i, at += sizeof(float)) {
            const float v = le::Read<float>(at);
            if (!std::isfinite(v))
                return "cell (" + std::to_string(n % static_cast<size_t>(width)) + ", " +
                       std::to_string(n / static_cast<size_t>(width)) + ") of the file holds a value that is not finite";
            s.cells[n].f[i] = v;
        }
    }
    state = std::move(s);
    return {};
}
