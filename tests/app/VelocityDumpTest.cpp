#include "sim/VelocityDump.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "sim/CpuLbmSimulator.h"

namespace fs = std::filesystem;

namespace {
struct TempFolder {
    fs::path path;
    TempFolder()
    {
        char pattern[] = "/tmp/velocity_dump_XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, ignored);
        fs::remove_all(path, ignored);
    }
};

std::vector<float> ReadFloats(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> values(bytes.size() / 4);
    std::memcpy(values.data(), bytes.data(), values.size() * 4);
    return values;
}

// A simulator that refuses its state.
struct Refusing : LbmSimulator {
    void Step(int) override {}
    void ResetFlow(float, float) override {}
    void SetBoundaryVelocity(float, float) override {}
    void SetViscosity(float) override {}
};
}  // namespace

TEST(VelocityDump, FileNameFromTheGridSize)
{
    EXPECT_EQ(VelocityDumpFileName(512, 256), "vel_512x256.dat");
    EXPECT_EQ(VelocityDumpFileName(64, 1024), "vel_64x1024.dat");
}

TEST(VelocityDump, AfterAResetEveryRecordIsTheInflowAtUnitDensity)
{
    TempFolder folder;
    CpuLbmSimulator sim(64, 48);
    sim.SetBoundaryVelocity(0.1f, -0.05f);
    sim.ResetFlow(0.1f, -0.05f);
    const VelocityDumpResult result = WriteVelocityDump(sim, 64, 48, folder.path.string());
    ASSERT_EQ(result.status, VelocityDumpStatus::Written);
    EXPECT_EQ(result.fileName, "vel_64x48.dat");
    const fs::path file = folder.path / "vel_64x48.dat";
    EXPECT_EQ(fs::file_size(file), 64u * 48u * 12u);
    const std::vector<float> v = ReadFloats(file);
    for (size_t n = 0; n < 64 * 48; ++n) {
        ASSERT_NEAR(v[3 * n], 0.1f, 1e-6f) << n;
        ASSERT_NEAR(v[3 * n + 1], -0.05f, 1e-6f) << n;
        ASSERT_NEAR(v[3 * n + 2], 1.0f, 1e-6f) << n;
    }
}

TEST(VelocityDump, RecordsFollowCellOrderAndEmptyCellsKeepTheirMomentum)
{
    TempFolder folder;
    CpuLbmSimulator sim(64, 64);
    sim.SetBoundaryVelocity(0.0f, 0.0f);
    sim.ResetFlow(0.0f, 0.0f);
    sim.Step(3);
    // The frame and the interior have distinct states only if the record of
    // cell (x, y) is at 12 (y W + x): compare with the state directly.
    std::vector<float> field;
    ASSERT_TRUE(ComputeVelocityField(sim, 64, 64, field));
    const LatticeCell& c = sim.Current()[5 * 64 + 7];
    const Macroscopic m = ComputeMacroscopic(c);
    EXPECT_EQ(field[3 * (5 * 64 + 7)], m.ux);
    EXPECT_EQ(field[3 * (5 * 64 + 7) + 2], m.rho);

    ASSERT_EQ(WriteVelocityDump(sim, 64, 64, folder.path.string()).status, VelocityDumpStatus::Written);
    EXPECT_EQ(fs::file_size(folder.path / "vel_64x64.dat"), 49152u);
}

TEST(VelocityDump, OverwritesTheSameNameAndWritesNothingWhenTheStateIsRefused)
{
    TempFolder folder;
    const fs::path file = folder.path / "vel_64x64.dat";
    std::ofstream(file) << std::string(100000, 'x');
    CpuLbmSimulator sim(64, 64);
    sim.ResetFlow(0.0f, 0.0f);
    ASSERT_EQ(WriteVelocityDump(sim, 64, 64, folder.path.string()).status, VelocityDumpStatus::Written);
    EXPECT_EQ(fs::file_size(file), 49152u);

    // A size that does not match the simulator's: refused, the old file stays.
    EXPECT_EQ(WriteVelocityDump(sim, 32, 64, folder.path.string()).status, VelocityDumpStatus::FetchFailed);
    EXPECT_FALSE(fs::exists(folder.path / "vel_32x64.dat"));
    Refusing refusing;
    EXPECT_EQ(WriteVelocityDump(refusing, 64, 64, folder.path.string()).status, VelocityDumpStatus::FetchFailed);
    EXPECT_EQ(fs::file_size(file), 49152u);
    EXPECT_EQ(WriteVelocityDump(sim, 0, 64, folder.path.string()).status, VelocityDumpStatus::FetchFailed);
}

TEST(VelocityDump, AFileThatCannotBeCreatedIsReported)
{
    TempFolder folder;
    CpuLbmSimulator sim(64, 64);
    sim.ResetFlow(0.0f, 0.0f);
    fs::create_directory(folder.path / "vel_64x64.dat");
    const VelocityDumpResult taken = WriteVelocityDump(sim, 64, 64, folder.path.string());
    EXPECT_EQ(taken.status, VelocityDumpStatus::WriteFailed);
    EXPECT_FALSE(taken.error.empty());
    EXPECT_TRUE(fs::is_directory(folder.path / "vel_64x64.dat"));
}

TEST(VelocityDump, AReadOnlyFolderIsReported)
{
    TempFolder folder;
    CpuLbmSimulator sim(64, 64);
    sim.ResetFlow(0.0f, 0.0f);
    fs::permissions(folder.path, fs::perms::owner_read | fs::perms::owner_exec);
    if (access(folder.path.c_str(), W_OK) == 0)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    const VelocityDumpResult result = WriteVelocityDump(sim, 64, 64, folder.path.string());
    EXPECT_EQ(result.status, VelocityDumpStatus::WriteFailed);
    EXPECT_FALSE(result.error.empty());
}

TEST(VelocityDump, AShortWriteLeavesNoTruncatedFile)
{
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full";
    TempFolder folder;
    // A folder whose dump name is a link to a device that is always full.
    fs::create_symlink("/dev/full", folder.path / "vel_64x64.dat");
    CpuLbmSimulator sim(64, 64);
    sim.ResetFlow(0.0f, 0.0f);
    const VelocityDumpResult result = WriteVelocityDump(sim, 64, 64, folder.path.string());
    EXPECT_EQ(result.status, VelocityDumpStatus::WriteFailed);
    EXPECT_NE(result.error.find("space"), std::string::npos) << result.error;
}
