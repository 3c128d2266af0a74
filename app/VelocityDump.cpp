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

bool ComputeVelocityField(LbmSimulator& simulator, int width, int height, std::vector<float>& field)
{
    if (width <= 0 || height <= 0)
        return false;
    field.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    return simulator.FetchVelocityField(field.data(), field.size());
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
