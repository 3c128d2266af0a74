#include "app/ObstacleFiles.h"

#include <cstdint>
#include <cstring>

#include "platform/files/AtomicFile.h"
#include "platform/files/ReadRegularFile.h"
#include "sim/ObstacleLimits.h"
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

std::string UnstorableObstacles(const std::vector<Obstacle>& obstacles)
{
    if (obstacles.size() > kMaxObstaclesInFile)
        return "there are " + std::to_string(obstacles.size()) + " obstacles, more than the " +
               std::to_string(kMaxObstaclesInFile) + " a file may hold";
    for (size_t i = 0; i < obstacles.size(); ++i)
        if (!IsStorableObstacle(obstacles[i]))
            return "obstacle " + std::to_string(i + 1) + " is outside the range a file may hold";
    return {};
}

std::string SaveObstacleFile(const std::string& path, const std::vector<Obstacle>& obstacles)
{
    if (std::string why = UnstorableObstacles(obstacles); !why.empty())
        return why;
    const std::string text = FormatObstacleText(obstacles);
    if (const int error = WriteFileAtomically(path, text.data(), text.size()))
        return std::strerror(error);
    return {};
}
