#include "app/ObstacleFiles.h"

#include <cstdint>
#include <cstring>

#include "platform/files/AtomicFile.h"
#include "platform/files/ReadRegularFile.h"
#include "sim/ObstacleText.h"

namespace {
// Far more than the longest list a file may hold, with comments.
constexpr size_t kMaxObstacleFileBytes = 1 << 20;
}  // namespace

std::string LoadObstacleFile(const std::string& path, std::vector<Obstacle>& obstacles)
{
    std::vector<uint8_t> bytes;
    if (std::string why = ReadRegularFile(path, kMaxObstacleFileBytes, bytes); !why.empty())
        return why;
    ObstacleTextError error;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!ParseObstacleText(text, obstacles, &error))
        return "line " + std::to_string(error.line) + ": " + error.message;
    return {};
}

std::string SaveObstacleFile(const std::string& path, const std::vector<Obstacle>& obstacles)
{
    const std::string text = FormatObstacleText(obstacles);
    if (const int error = WriteFileAtomically(path, text.data(), text.size()))
        return std::strerror(error);
    return {};
}
