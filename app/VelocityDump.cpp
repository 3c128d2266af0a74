#include "app/VelocityDump.h"

#include <cstring>
#include <limits>

#include "app/TextFormat.h"
#include "platform/files/AtomicFile.h"
#include "sim/Checkpoint.h"

std::string VelocityDumpFileName(int width, int height)
{
    return (TextFormat("vel_{0}x{1}.dat") % width % height).str();
}

void ComputeVelocityField(const std::vector<LatticeCell>& cells, std::vector<float>& field)
{
    field.resize(cells.size() * 3);  // every value is written below
    for (size_t n = 0; n < cells.size(); ++n) {
        const Macroscopic m = ComputeMacroscopic(cells[n]);
        field[3 * n] = m.ux;
        field[3 * n + 1] = m.uy;
        field[3 * n + 2] = m.rho;
    }
}

bool ComputeVelocityField(LbmSimulator& simulator, int width, int height, std::vector<float>& field)
{
    std::vector<LatticeCell> state;
    if (!FetchLattice(simulator, width, height, state))
        return false;
    ComputeVelocityField(state, field);
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
