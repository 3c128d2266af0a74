#include "app/VelocityDump.h"

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
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::vector<float> ReadFloats(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> values(bytes.size() / 4);
    std::memcpy(values.data(), bytes.data(), values.size() * 4);
    return values;
}

// A simulator whose state is known cell by cell.
struct Scripted : LbmSimulator {
    Scripted(int w, int h) : w(w), h(h) {}
    static LatticeCell Cell(int n)
    {
        LatticeCell c{};
        if (n == 7) {
            c.f[1] = 0.5f;  // jx = f1 - f3 = 1, rho = 0
            c.f[3] = -0.5f;
            c.f[2] = -0.25f;  // jy = f2 - f4 = -0.5
            c.f[4] = 0.25f;
            return c;
        }
        c.f[0] = 1.0f + n / 1000.0f;
        c.f[1] = n / 10000.0f;
        return c;
    }
    bool FetchGridState(float* dst, int sizeInBytes) override
    {
        if (sizeInBytes != w * h * 36)
            return false;
        auto* cells = reinterpret_cast<LatticeCell*>(dst);
        for (int n = 0; n < w * h; ++n)
            cells[n] = Cell(n);
        return true;
    }
    void Step(int) override {}
    void ResetFlow(float, float) override {}
    void SetBoundaryVelocity(float, float) override {}
    void SetViscosity(float) override {}
    int w, h;
};

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
    // Cell n carries x-momentum n/10000 in a density near 1; cell 7 is
    // empty (density 0) with momentum (1, -0.5).
    Scripted sim(8, 3);
    const VelocityDumpResult result = WriteVelocityDump(sim, 8, 3, folder.path.string());
    ASSERT_EQ(result.status, VelocityDumpStatus::Written);
    const std::vector<float> v = ReadFloats(folder.path / "vel_8x3.dat");
    ASSERT_EQ(v.size(), 8u * 3u * 3u);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int n = y * 8 + x;
            const float* record = &v[3 * n];
            if (n == 7) {
                EXPECT_EQ(record[0], 1.0f);
                EXPECT_EQ(record[1], -0.5f);
                EXPECT_EQ(record[2], 0.0f);
                continue;
            }
            const Macroscopic m = ComputeMacroscopic(Scripted::Cell(n));
            EXPECT_EQ(record[0], m.ux) << n;
            EXPECT_EQ(record[1], m.uy) << n;
            EXPECT_EQ(record[2], m.rho) << n;
            EXPECT_NEAR(record[2], 1.0f + n / 1000.0f + n / 10000.0f, 1e-6f) << n;
            EXPECT_NEAR(record[0], (n / 10000.0f) / record[2], 1e-7f) << n;
        }
    }
}

TEST(VelocityDump, OverwritesTheSameNameAndWritesNothingWhenTheStateIsRefused)
{
    TempFolder folder;
    const fs::path file = folder.path / "vel_64x64.dat";
    std::ofstream(file) << std::string(100000, 'x');
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    CpuLbmSimulator sim(64, 64);
    sim.ResetFlow(0.0f, 0.0f);
    ASSERT_EQ(WriteVelocityDump(sim, 64, 64, folder.path.string()).status, VelocityDumpStatus::Written);
    EXPECT_EQ(fs::file_size(file), 49152u);
    // The file replaced keeps its permissions.
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A size that does not match the simulator's: refused, the old file stays.
    EXPECT_EQ(WriteVelocityDump(sim, 32, 64, folder.path.string()).status, VelocityDumpStatus::FetchFailed);
    EXPECT_FALSE(fs::exists(folder.path / "vel_32x64.dat"));
    Refusing refusing;
    EXPECT_EQ(WriteVelocityDump(refusing, 64, 64, folder.path.string()).status, VelocityDumpStatus::FetchFailed);
    EXPECT_EQ(fs::file_size(file), 49152u);
    EXPECT_EQ(WriteVelocityDump(sim, 0, 64, folder.path.string()).status, VelocityDumpStatus::FetchFailed);
}

TEST(VelocityDump, AGridOf64By64GivesA49152ByteFile)
{
    TempFolder folder;
    CpuLbmSimulator sim(64, 64);
    sim.SetBoundaryVelocity(0.0f, 0.0f);
    sim.ResetFlow(0.0f, 0.0f);
    sim.Step(3);
    ASSERT_EQ(WriteVelocityDump(sim, 64, 64, folder.path.string()).status, VelocityDumpStatus::Written);
    EXPECT_EQ(fs::file_size(folder.path / "vel_64x64.dat"), 49152u);
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
    // Folder permissions do not stop a privileged user; no one creates files in /proc.
    const std::string target = access(folder.path.c_str(), W_OK) == 0 ? "/proc" : folder.path.string();
    const VelocityDumpResult result = WriteVelocityDump(sim, 64, 64, target);
    EXPECT_EQ(result.status, VelocityDumpStatus::WriteFailed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(result.fileName, "vel_64x64.dat");
}

TEST(VelocityDump, AFailedWriteKeepsThePreviousFileWhole)
{
    TempFolder folder;
    const fs::path file = folder.path / "vel_64x64.dat";
    CpuLbmSimulator sim(64, 64);
    sim.ResetFlow(0.1f, 0.0f);
    ASSERT_EQ(WriteVelocityDump(sim, 64, 64, folder.path.string()).status, VelocityDumpStatus::Written);
    const std::vector<float> good = ReadFloats(file);

    // A file size limit below the dump's size: the write fails part way, as
    // on a full disk.
    sim.ResetFlow(-0.1f, 0.05f);
    VelocityDumpResult result;
    {
        const FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Active());
        result = WriteVelocityDump(sim, 64, 64, folder.path.string());
    }

    EXPECT_EQ(result.status, VelocityDumpStatus::WriteFailed);
    EXPECT_NE(result.error.find("large"), std::string::npos) << result.error;
    EXPECT_EQ(ReadFloats(file), good);
    // Nothing but the previous dump is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 1);
}

TEST(VelocityDump, ALinkOfTheDumpsNameIsReplacedNotWrittenThrough)
{
    TempFolder folder;
    TempFolder elsewhere;
    const fs::path target = elsewhere.path / "precious";
    std::ofstream(target) << "keep me";
    const fs::path file = folder.path / "vel_64x64.dat";
    fs::create_symlink(target, file);
    CpuLbmSimulator sim(64, 64);
    sim.ResetFlow(0.0f, 0.0f);
    ASSERT_EQ(WriteVelocityDump(sim, 64, 64, folder.path.string()).status, VelocityDumpStatus::Written);
    EXPECT_FALSE(fs::is_symlink(file));
    EXPECT_EQ(fs::file_size(file), 49152u);
    std::ifstream in(target);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "keep me");
}
