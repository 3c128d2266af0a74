// The file formats of the program's outputs and inputs: VTK image data and
// NumPy arrays of the velocity field, the obstacle text and the saved state.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "sim/Crc32.h"
#include "sim/NpyFile.h"
#include "sim/ObstacleText.h"
#include "sim/StateFile.h"
#include "sim/VtkImageFile.h"
#include "tests/sim/VtiReader.h"

namespace {

// (ux, uy, rho) per cell with distinct values, as the velocity dump holds them.
std::vector<float> Field(int W, int H)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-2.0f, 2.0f);
    std::vector<float> field(static_cast<size_t>(W * H * 3));
    for (float& v : field)
        v = value(random);
    return field;
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SameObstacle(const Obstacle& a, const Obstacle& b)
{
    return a.isEllipse == b.isEllipse && a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

SimulationState SomeState(int W, int H)
{
    SimulationState s;
    s.width = W;
    s.height = H;
    s.step = 123456789012;
    s.simulationType = 1;
    s.flowVelX = 0.1f;
    s.flowVelY = -0.05f;
    s.invViscosity = 20.0f;
    s.obstacles = {{0, 0, 1, W, 1}, {1, -5, 3, 20, 7}};
    const std::vector<float> values = Field(W, H * 3);
    s.cells.resize(static_cast<size_t>(W * H));
    std::memcpy(s.cells.data(), values.data(), s.cells.size() * sizeof(LatticeCell));
    return s;
}

// A file changed on purpose and given a matching checksum again, so that the
// check behind the checksum is what refuses it.
void Resign(std::vector<char>& file)
{
    const uint32_t crc = Crc32(file.data(), file.size() - 4);
    std::memcpy(file.data() + file.size() - 4, &crc, 4);
}

std::string Decode(const std::vector<char>& file, SimulationState& state)
{
    return DecodeState(reinterpret_cast<const uint8_t*>(file.data()), file.size(), state);
}

}  // namespace

TEST(VtkImageFile, ReadsBackAsOnePointPerCellWithTheDumpsValues)
{
    // Rows enough for several blocks of the encoder, the last one short.
    const int W = 301, H = 80;
    const std::vector<float> field = Field(W, H);
    const std::vector<char> file = EncodeVtkImage(field, W, H);
    VtiImage image;
    ASSERT_EQ(ReadVti(QByteArray(file.data(), static_cast<qsizetype>(file.size())), image), "");
    const int expectedExtent[6] = {0, W - 1, 0, H - 1, 0, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(image.extent[i], expectedExtent[i]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(image.origin[i], 0.0);
        EXPECT_EQ(image.spacing[i], 1.0);
    }
    const auto& velocity = image.pointData["velocity"];
    const auto& density = image.pointData["density"];
    ASSERT_EQ(velocity.components, 3);
    ASSERT_EQ(velocity.values.size(), size_t{W * H * 3});
    ASSERT_EQ(density.components, 1);
    ASSERT_EQ(density.values.size(), size_t{W * H});
    // Point n of image data is (x, y) = (n % W, n / W): the dump's cell order.
    for (size_t n = 0; n < size_t{W * H}; ++n) {
        EXPECT_TRUE(SameBits(velocity.values[3 * n], field[3 * n])) << n;
        EXPECT_TRUE(SameBits(velocity.values[3 * n + 1], field[3 * n + 1])) << n;
        EXPECT_EQ(velocity.values[3 * n + 2], 0.0f) << n;
        EXPECT_TRUE(SameBits(density.values[n], field[3 * n + 2])) << n;
    }
}

TEST(NpyFile, HeaderDeclaresRowsColumnsAndComponentsAndTheDataIsTheDump)
{
    const int W = 5, H = 3;
    const std::vector<float> field = Field(W, H);
    const std::vector<char> file = EncodeNpy(field, W, H);
    ASSERT_GE(file.size(), size_t{10});
    EXPECT_EQ(std::string(file.data(), 8), std::string("\x93NUMPY\x01\x00", 8));
    const size_t headerLength = static_cast<unsigned char>(file[8]) | static_cast<unsigned char>(file[9]) << 8;
    const size_t dataStart = 10 + headerLength;
    EXPECT_EQ(dataStart % 64, size_t{0}) << "the data must start aligned";
    ASSERT_EQ(file.size(), dataStart + field.size() * sizeof(float));
    const std::string header(file.data() + 10, headerLength);
    EXPECT_EQ(header.back(), '\n');
    EXPECT_NE(header.find("'descr': '<f4'"), std::string::npos) << header;
    EXPECT_NE(header.find("'fortran_order': False"), std::string::npos) << header;
    EXPECT_NE(header.find("'shape': (3, 5, 3)"), std::string::npos) << header;
    EXPECT_EQ(std::memcmp(file.data() + dataStart, field.data(), field.size() * sizeof(float)), 0);
}

TEST(ObstacleText, WrittenListReadsBackInOrderAndCommentsAndBlankLinesAreSkipped)
{
    const std::vector<Obstacle> list = {{0, 0, 1, 512, 1}, {1, -5, -7, 20, 30}, {0, 100, 200, 1, 1}};
    std::vector<Obstacle> read;
    ObstacleTextError error;
    ASSERT_TRUE(ParseObstacleText(FormatObstacleText(list), read, &error)) << error.message;
    ASSERT_EQ(read.size(), list.size());
    for (size_t i = 0; i < list.size(); ++i)
        EXPECT_TRUE(SameObstacle(read[i], list[i])) << i;

    read.clear();
    ASSERT_TRUE(ParseObstacleText("# a channel\r\n\n  RECT 0 1\t64 1   # bottom wall\r\nellipse 3 4 5 6", read, &error))
        << error.message;
    ASSERT_EQ(read.size(), size_t{2});
    EXPECT_TRUE(SameObstacle(read[0], {0, 0, 1, 64, 1}));
    EXPECT_TRUE(SameObstacle(read[1], {1, 3, 4, 5, 6}));
}

TEST(ObstacleText, BadLineIsReportedWithItsNumberAndNothingIsAdded)
{
    const struct {
        const char* text;
        int line;
        const char* mentions;
    } cases[] = {
        {"rect 0 0 5 5\ncircle 1 2 3 4\n", 2, "circle"},
        {"# comment\n\nrect 1 2 3\n", 3, "rect x y width height"},
        {"rect 0 0 5 5 9\n", 1, "rect x y width height"},
        {"ellipse 1.5 2 3 4\n", 1, "1.5"},
        {"rect nan 2 3 4\n", 1, "nan"},
        {"rect 0 0 inf 4\n", 1, "inf"},
        {"rect 0 0 0 4\n", 1, "width"},
        {"rect 0 0 4 -1\n", 1, "height"},
        {"rect 5000 0 4 4\n", 1, "x"},
        {"rect 0 -99999999999999999999 4 4\n", 1, "y"},
        {"rect 0 0 4 4x\n", 1, "4x"},
    };
    for (const auto& c : cases) {
        std::vector<Obstacle> obstacles = {{1, 2, 3, 4, 5}};
        ObstacleTextError error;
        EXPECT_FALSE(ParseObstacleText(c.text, obstacles, &error)) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_NE(error.message.find(c.mentions), std::string::npos) << c.text << " -> " << error.message;
        ASSERT_EQ(obstacles.size(), size_t{1}) << c.text;
        EXPECT_TRUE(SameObstacle(obstacles[0], {1, 2, 3, 4, 5}));
    }

    // A hostile file's bytes come back as a short, visible excerpt.
    for (const std::string& text : {std::string("rect 1 1 1 \x1b]0;title\x07\n"), std::string("pentagon\x9b") +
                                    "2J\n", "rect 1 1 1 " + std::string(100000, '9') + "\n"}) {
        std::vector<Obstacle> obstacles;
        ObstacleTextError error;
        EXPECT_FALSE(ParseObstacleText(text, obstacles, &error));
        EXPECT_LT(error.message.size(), size_t{120}) << error.message;
        for (const char ch : error.message)
            EXPECT_TRUE(ch >= 0x20 && ch < 0x7f) << error.message;
    }

    std::string many;
    for (int i = 0; i <= 1000; ++i)
        many += "rect 1 1 1 1\n";
    std::vector<Obstacle> obstacles;
    ObstacleTextError error;
    EXPECT_FALSE(ParseObstacleText(many, obstacles, &error));
    EXPECT_EQ(error.line, 1001);
    EXPECT_TRUE(obstacles.empty());
}

TEST(StateFile, ChecksumIsTheStandardCrc32)
{
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32("56789", 5, Crc32("1234", 4)), 0xCBF43926u) << "a checksum continued over a second part";
    // Every byte value at every position of the eight-byte rounds, and a tail.
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 1024; ++i)
        bytes.push_back(static_cast<uint8_t>(i));
    bytes.insert(bytes.end(), {'a', 'b', 'c'});
    EXPECT_EQ(Crc32(bytes.data(), bytes.size()), 0xC2FAA2A6u);
}

TEST(StateFile, ChecksumAgreesWithTheBitwiseDefinitionAtEveryLengthAndAlignment)
{
    auto bitwise = [](const uint8_t* p, size_t n, uint32_t crc) {
        crc = ~crc;
        while (n--) {
            crc ^= *p++;
            for (int k = 0; k < 8; ++k)
                crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
        return ~crc;
    };
    std::vector<uint8_t> bytes(4096 + 64);
    uint32_t seed = 12345;
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
    // Lengths on both sides of the fast path's 16- and 64-byte steps, at
    // every alignment, from a fresh start and continued.
    for (size_t offset = 0; offset < 16; ++offset)
        for (size_t length : {0, 1, 15, 16, 17, 63, 64, 65, 79, 80, 127, 128, 129, 200, 1000, 4096}) {
            const uint8_t* p = bytes.data() + offset;
            ASSERT_EQ(Crc32(p, length), bitwise(p, length, 0)) << "offset " << offset << ", length " << length;
            ASSERT_EQ(Crc32(p, length, 0xDEADBEEFu), bitwise(p, length, 0xDEADBEEFu))
                << "offset " << offset << ", length " << length;
        }
}

TEST(StateFile, EncodedStateDecodesToTheSameBits)
{
    // More cells than one block of the encoder.
    const SimulationState saved = SomeState(130, 70);
    const std::vector<char> file = EncodeState(saved);
    EXPECT_EQ(file.size(), StateFileBytes(130, 70, 2));
    SimulationState read;
    ASSERT_EQ(Decode(file, read), "");
    EXPECT_EQ(read.width, 130);
    EXPECT_EQ(read.height, 70);
    EXPECT_EQ(read.step, saved.step);
    EXPECT_EQ(read.simulationType, 1);
    EXPECT_TRUE(SameBits(read.flowVelX, saved.flowVelX));
    EXPECT_TRUE(SameBits(read.flowVelY, saved.flowVelY));
    EXPECT_TRUE(SameBits(read.invViscosity, saved.invViscosity));
    ASSERT_EQ(read.obstacles.size(), size_t{2});
    EXPECT_TRUE(SameObstacle(read.obstacles[1], saved.obstacles[1]));
    ASSERT_EQ(read.cells.size(), saved.cells.size());
    EXPECT_EQ(std::memcmp(read.cells.data(), saved.cells.data(), saved.cells.size() * sizeof(LatticeCell)), 0);
}

TEST(StateFile, DamagedTruncatedOrForeignFilesAreRefusedAndTheStateIsKept)
{
    const std::vector<char> good = EncodeState(SomeState(7, 5));
    const size_t cellsAt = kStateHeaderBytes + 2 * sizeof(Obstacle);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* what;
        std::function<void(std::vector<char>&)> change;
        const char* mentions;
    } cases[] = {
        {"one bit flipped", [](std::vector<char>& f) { f[kStateHeaderBytes + 100] ^= 0x10; }, "damaged"},
        {"cut short", [](std::vector<char>& f) { f.pop_back(); }, "truncated"},
        {"header only", [](std::vector<char>& f) { f.resize(30); }, "truncated"},
        {"a byte more", [](std::vector<char>& f) { f.push_back(0); }, "trailing"},
        {"another file", [](std::vector<char>& f) { f[0] = 'X'; }, "not a saved simulation state"},
        {"newer version", [](std::vector<char>& f) { f[8] = 2; }, "version 2"},
        {"huge grid, small file",
         [](std::vector<char>& f) {
             const int32_t huge = 60000;
             std::memcpy(f.data() + 16, &huge, 4);
             std::memcpy(f.data() + 20, &huge, 4);
         },
         "truncated"},
        {"negative grid",
         [](std::vector<char>& f) {
             const int32_t negative = -7;
             std::memcpy(f.data() + 16, &negative, 4);
         },
         "empty or too large"},
        {"obstacle out of range",
         [](std::vector<char>& f) {
             const int32_t wide = 100000;
             std::memcpy(f.data() + kStateHeaderBytes + 12, &wide, 4);
             Resign(f);
         },
         "obstacle 1"},
        {"obstacle count beyond the limit",
         [](std::vector<char>& f) {
             const uint32_t count = 0xFFFFFFFFu;
             std::memcpy(f.data() + 48, &count, 4);
         },
         "obstacles"},
        {"a cell that is not a number",
         [&](std::vector<char>& f) {
             std::memcpy(f.data() + cellsAt + 36 * 9 + 4, &nan, 4);
             Resign(f);
         },
         "cell (2, 1)"},
        {"a viscosity that is not a number",
         [&](std::vector<char>& f) {
             std::memcpy(f.data() + 44, &nan, 4);
             Resign(f);
         },
         "viscosity"},
    };
    for (const auto& c : cases) {
        std::vector<char> file = good;
        c.change(file);
        SimulationState kept;
        kept.width = 99;
        const std::string error = Decode(file, kept);
        EXPECT_NE(error.find(c.mentions), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(kept.width, 99) << c.what;
        EXPECT_TRUE(kept.cells.empty()) << c.what;
    }
}
