#include "app/StateFiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/ObstacleFiles.h"
#include "sim/ObstacleLimits.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {
std::string ReadAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

SimulationState State(int W, int H, float fill)
{
    SimulationState s;
    s.width = W;
    s.height = H;
    s.simulationType = 1;
    s.flowVelX = 0.1f;
    s.invViscosity = 20.0f;
    s.cells.assign(static_cast<size_t>(W) * static_cast<size_t>(H), LatticeCell{});
    for (LatticeCell& c : s.cells)
        for (float& v : c.f)
            v = fill;
    return s;
}
}  // namespace

// The state goes to its file in blocks; a write that fails after some of
// them keeps the previous file whole and leaves nothing else behind.
TEST(StateFiles, ASaveCutShortMidwayKeepsThePreviousFile)
{
    TempFolder folder;
    const fs::path file = folder.path / "run.state";
    ASSERT_EQ(SaveStateFile(file.string(), State(8, 8, 0.25f)), "");
    const std::string previous = ReadAll(file);

    std::string why;
    {
        const FileSizeLimit limit(1 << 19);  // past the first blocks of a 1.2 MB state
        ASSERT_TRUE(limit.Active());
        why = SaveStateFile(file.string(), State(180, 180, 0.5f));
    }

    EXPECT_NE(why.find("large"), std::string::npos) << why;
    EXPECT_EQ(ReadAll(file), previous);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 1);
}

// A name of the longest length a folder takes has no room for the
// temporary name's suffix; the state is written all the same.
TEST(StateFiles, ASaveUnderTheLongestNameIsWritten)
{
    TempFolder folder;
    const fs::path file = folder.path / std::string(NAME_MAX, 's');
    ASSERT_EQ(SaveStateFile(file.string(), State(8, 8, 0.25f)), "");
    EXPECT_EQ(ReadAll(file).size(), StateFileBytes(8, 8, 0));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 1);
}

// A flow gathers obstacles without a bound; a list longer than a file may
// hold would make a state or obstacle file that can never be read again.
// Both are refused, and the previous files stay as they were.
TEST(StateFiles, ObstaclesAFileCannotHoldAreRefusedAndThePreviousFilesKept)
{
    TempFolder folder;
    const fs::path state = folder.path / "run.state", list = folder.path / "obstacles.txt";
    SimulationState s = State(8, 8, 0.25f);
    s.obstacles.assign(kMaxObstaclesInFile, Obstacle{0, 1, 1, 2, 2});
    ASSERT_EQ(SaveStateFile(state.string(), s), "");
    ASSERT_EQ(SaveObstacleFile(list.string(), s.obstacles), "");
    const std::string previousState = ReadAll(state), previousList = ReadAll(list);

    s.obstacles.push_back(Obstacle{1, 3, 3, 2, 2});
    EXPECT_NE(SaveStateFile(state.string(), s).find("1001 obstacles"), std::string::npos);
    EXPECT_NE(SaveObstacleFile(list.string(), s.obstacles).find("1001 obstacles"), std::string::npos);
    EXPECT_EQ(ReadAll(state), previousState);
    EXPECT_EQ(ReadAll(list), previousList);
}
