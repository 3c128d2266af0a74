#include "sim/VelocityDump.h"

#include <cstring>
#include <limits>

#include "app/TextFormat.h"
#include "platform/files/AtomicWrite.h"

std::string VelocityDumpFileName(int width, int height)
{
    return (TextFormat("vel_{0}x{1}.dat") % width % height).str();
}

bool ComputeVelocityField(LbmSimulator& simulator, int width, int height, std::vector<float>& field)
{
    if (width <= 0 || height <= 0)
        return false;
    const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
    // FetchGridState takes its size as an int; a larger grid cannot be asked for.
    if (cells > static_cast<size_t>(std::numeric_limits<int>::max()) / sizeof(LatticeCell))
        return false;
    std::vector<LatticeCell> state(cells, LatticeCell{});
    if (!simulator.FetchGridState(reinterpret_cast<float*>(state.data()),
                                  static_cast<int>(cells * sizeof(LatticeCell))))
        return false;
    field.assign(cells * 3, 0.0f);
    for (size_t n = 0; n < cells; ++n) {
        const Macroscopic m = ComputeMacroscopic(state[n]);
        field[3 * n] = m.ux;
        field[3 * n + 1] = m.uy;
        field[3 * n + 2] = m.rho;
    }
    return true;
}

VelocityDumpResult WriteVelocityDump(LbmSimulator& simulator, int width, int height, const std::string& folder)
{
    VelocityDumpResult result{VelocityDumpStatus::Written, VelocityDumpFileName(width, height), {}};
    std::vector<float> field;
    if (!ComputeVelocityField(simulator, width, height, field)) {
        result.status = VelocityDumpStatus::FetchFailed;
        return result;
    }
    static_assert(std::numeric_limits<float>::is_iec559, "the file holds IEEE-754 floats");
    const std::string path = folder.empty() ? result.fileName : folder + "/" + result.fileName;
    if (const int error = WriteFileAtomically(path, field.data(), field.size() * sizeof(float))) {
        result.status = VelocityDumpStatus::WriteFailed;
        result.error = std::strerror(error);
    }
    return result;
}
