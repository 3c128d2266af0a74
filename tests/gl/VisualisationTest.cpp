#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "sim/CpuLbmSimulator.h"
#include "sim/GpuLbmSimulator.h"
#include "sim/ColourMaps.h"
#include "sim/HueWheel.h"
#include "sim/ViewModes.h"
#include "tests/gl/HeadlessGl.h"
#include "tests/gl/OffscreenTarget.h"

namespace {

std::array<float, 4> WheelTexel(int column, int row)
{
    const float* t = &HueWheel()[(static_cast<size_t>(row) * kHueWheelSize + static_cast<size_t>(column)) * 4];
    return {t[0], t[1], t[2], t[3]};
}

void ExpectTexel(int column, int row, std::array<float, 4> expected, float tolerance)
{
    const auto t = WheelTexel(column, row);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(t[static_cast<size_t>(k)], expected[static_cast<size_t>(k)], tolerance)
            << "texel (" << column << ", " << row << ") channel " << k;
}

// An off-screen target already set up as the frame loop leaves it before drawing.
struct OffscreenPicture : OffscreenTarget {
    OffscreenPicture(int width, int height) : OffscreenTarget(width, height) { BeginFrame(); }
};

std::unique_ptr<LbmSimulator> MakeSolver(bool gpu, int W, int H)
{
    if (gpu)
        return std::make_unique<GpuLbmSimulator>(W, H);
    return std::make_unique<CpuLbmSimulator>(W, H);
}

// Largest channel difference between a pixel and a wheel texel.
int Distance(const unsigned char* pixel, std::array<float, 4> texel)
{
    int worst = 0;
    for (int k = 0; k < 3; ++k)
        worst = std::max(worst, std::abs(pixel[k] - static_cast<int>(std::lround(texel[static_cast<size_t>(k)] * 255.0f))));
    return worst;
}

class Picture : public HeadlessGl, public ::testing::WithParamInterface<bool> {};

}  // namespace

TEST(HueWheel, TexelsOfTheDisc)
{
    ExpectTexel(256, 256, {0, 0, 0, 1}, 0.0f);        // centre: lightness 0
    ExpectTexel(256, 384, {0.5f, 0, 1, 1}, 1e-5f);    // straight up: h = 0.75
    ExpectTexel(256, 128, {0.5f, 1, 0, 1}, 1e-5f);    // straight down: h = 0.25
    ExpectTexel(0, 0, {0, 0, 0, 1}, 0.0f);            // outside the disc
    const auto rim = WheelTexel(511, 256);            // r = 0.99609375: nearly white
    for (int k = 0; k < 3; ++k)
        EXPECT_GT(rim[static_cast<size_t>(k)], 0.99f);
    ExpectTexel(384, 256, {0, 1, 1, 1}, 1e-5f);       // to the right, half way: cyan
    EXPECT_EQ(&HueWheel(), &HueWheel()) << "built once per process";
}

TEST(HueWheel, HslToRgbWrapsTheHue)
{
    const Rgb red = HslToRgb(0.0f, 1.0f, 0.5f);
    EXPECT_NEAR(red.r, 1.0f, 1e-6f);
    EXPECT_NEAR(red.g, 0.0f, 1e-6f);
    EXPECT_NEAR(red.b, 0.0f, 1e-6f);
    const Rgb again = HslToRgb(1.0f, 1.0f, 0.5f);
    EXPECT_NEAR(again.r, red.r, 1e-6f);
    const Rgb grey = HslToRgb(0.3f, 0.0f, 0.25f);
    EXPECT_FLOAT_EQ(grey.r, 0.25f);
    EXPECT_FLOAT_EQ(grey.g, 0.25f);
    EXPECT_FLOAT_EQ(grey.b, 0.25f);
}

TEST(ColourMaps, DivergingIsWhiteInTheMiddleAndSequentialGrowsLighter)
{
    const Rgb middle = DivergingColour(0.0f);
    EXPECT_EQ(middle.r + middle.g + middle.b, 3.0f);
    const Rgb low = DivergingColour(-1.0f), high = DivergingColour(1.0f);
    EXPECT_GT(low.b, low.r) << "below zero is blue";
    EXPECT_GT(high.r, high.b) << "above zero is red";
    EXPECT_EQ(DivergingColour(-7.0f).b, low.b) << "clamped";
    float lastLightness = -1.0f;
    for (int j = 0; j <= 16; ++j) {
        const Rgb c = SequentialColour(float(j) / 16.0f);
        const float lightness = 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b;
        EXPECT_GT(lightness, lastLightness) << "step " << j;
        lastLightness = lightness;
    }
    // The table holds the maps at its texel centres, ends included.
    const std::vector<float>& maps = ColourMaps();
    ASSERT_EQ(maps.size(), size_t(kColourMapSize) * 2 * 4);
    EXPECT_EQ(maps[0], low.r);
    EXPECT_EQ(maps[(size_t(kSequentialRow) * kColourMapSize + kColourMapSize - 1) * 4 + 1], SequentialColour(1.0f).g);
}

TEST(ViewModes, ScalesFollowTheBrightnessAndTheInflow)
{
    EXPECT_EQ(ViewScale({ViewMode::Velocity, 2.5f, 0.05f}), 2.5f) << "the velocity view takes the brightness as is";
    EXPECT_FLOAT_EQ(0.08f * ViewScale({ViewMode::Speed, 1.0f, 0.08f}), 0.5f) << "inflow speed mid-map";
    EXPECT_FLOAT_EQ(0.08f * ViewScale({ViewMode::Speed, 2.0f, -0.08f}), 1.0f);
    // rho - 1 at the inflow's dynamic pressure (Cp = 1) reaches the end.
    EXPECT_FLOAT_EQ(1.5f * 0.04f * 0.04f * ViewScale({ViewMode::Density, 1.0f, 0.04f}), 1.0f);
    EXPECT_FLOAT_EQ(ViewScale({ViewMode::Vorticity, 3.0f, 0.1f}), 3.0f * ViewScale({ViewMode::Vorticity, 1.0f, 0.1f}));
    // An inflow at rest or not finite falls back to the default inflow.
    for (const float still : {0.0f, 1e-6f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(ViewScale({ViewMode::Speed, 1.0f, still}), ViewScale({ViewMode::Speed, 1.0f, 0.1f}));
    EXPECT_EQ(ViewModeFromIndex(3), ViewMode::Density);
    EXPECT_EQ(ViewModeFromIndex(4), ViewMode::Velocity);
    EXPECT_EQ(ViewModeFromIndex(-1), ViewMode::Velocity);
}

TEST_P(Picture, UniformFlowHasTheWheelColourOfItsVelocity)
{
    const int W = 40, H = 24;
    auto sim = MakeSolver(GetParam(), W, H);
    struct Case {
        float ux, uy;
        int column, row;  // the wheel texel that speed 0.1 at brightness 1 lands on
    };
    for (const Case c : {Case{0.1f, 0.0f, 384, 256}, Case{0.0f, 0.1f, 256, 384}, Case{0.0f, -0.1f, 256, 128},
                         Case{-0.1f, 0.0f, 128, 256}}) {
        sim->SetViscosity(0.05f);
        sim->SetBoundaryVelocity(c.ux, c.uy);
        sim->ResetFlow(c.ux, c.uy);
        OffscreenPicture picture(W, H);
        sim->RenderVelocity(1.0f, {0.0f, float(W), 0.0f, float(H)});
        const auto pixels = picture.Read();
        const auto expected = WheelTexel(c.column, c.row);
        int worst = 0;
        for (size_t n = 0; n < pixels.size(); n += 4)
            worst = std::max(worst, Distance(&pixels[n], expected));
        EXPECT_LE(worst, 3) << "velocity (" << c.ux << ", " << c.uy << ")";
    }
    EXPECT_TRUE(messages.reports.empty());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Beyond the rim the lookup is held on the disc: a fast flow at a high
// brightness is the rim's near-white in every direction, never a grey mixed
// with the black outside, and never darker than at a lower brightness.
TEST_P(Picture, BrightnessBeyondTheRimStaysNearWhite)
{
    const int W = 8, H = 8;
    auto sim = MakeSolver(GetParam(), W, H);
    sim->SetViscosity(0.05f);
    for (const float degrees : {0.0f, 36.4f, 90.0f, 142.5f, 180.0f, 225.0f}) {
        const float ux = 0.1f * std::cos(degrees * 0.017453292f);
        const float uy = 0.1f * std::sin(degrees * 0.017453292f);
        sim->SetBoundaryVelocity(ux, uy);
        sim->ResetFlow(ux, uy);
        int dimmer = 0;
        for (const float brightness : {1.9f, 4.0f}) {
            OffscreenPicture picture(W, H);
            sim->RenderVelocity(brightness, {0.0f, float(W), 0.0f, float(H)});
            const auto pixels = picture.Read();
            const int sum = pixels[0] + pixels[1] + pixels[2];
            EXPECT_GE(sum, dimmer) << degrees << " degrees, brightness " << brightness;
            dimmer = sum;
            if (brightness < 2.0f)
                continue;
            for (size_t n = 0; n < pixels.size(); n += 4)
                for (size_t k = 0; k < 3; ++k)
                    ASSERT_GE(pixels[n + k], 250) << degrees << " degrees, pixel " << n / 4 << " channel " << k;
        }
    }
    EXPECT_TRUE(messages.reports.empty());
}

TEST_P(Picture, RestIsBlackAndTheRectangleIsHonoured)
{
    const int W = 20, H = 10;
    auto sim = MakeSolver(GetParam(), W, H);
    sim->SetViscosity(0.05f);
    sim->SetBoundaryVelocity(0.0f, 0.0f);
    sim->ResetFlow(0.0f, 0.0f);
    {
        OffscreenPicture picture(W, H);
        sim->RenderVelocity(4.0f, {0.0f, float(W), 0.0f, float(H)});
        const auto pixels = picture.Read();
        for (size_t n = 0; n < pixels.size(); n += 4)
            ASSERT_EQ(pixels[n] + pixels[n + 1] + pixels[n + 2], 0) << "pixel " << n / 4;
    }
    // A moving flow stretched over the left half of a picture twice the grid's
    // size: the left half takes the colour, the right half stays cleared.
    sim->SetBoundaryVelocity(0.1f, 0.0f);
    sim->ResetFlow(0.1f, 0.0f);
    OffscreenPicture picture(2 * W, 2 * H);
    sim->RenderVelocity(1.0f, {0.0f, float(W), 0.0f, float(2 * H)});
    const auto pixels = picture.Read();
    const auto cyan = WheelTexel(384, 256);
    for (int y = 0; y < 2 * H; ++y) {
        for (int x = 0; x < 2 * W; ++x) {
            const unsigned char* p = &pixels[static_cast<size_t>(y * 2 * W + x) * 4];
            if (x < W) {
                ASSERT_LE(Distance(p, cyan), 3) << x << "," << y;
            } else {
                ASSERT_EQ(p[0] + p[1] + p[2], 0) << x << "," << y;
            }
        }
    }
    EXPECT_TRUE(messages.reports.empty());
}

// The scalar views draw the colour of their map for a known field: a solid
// rotation (curl 2 omega everywhere, counter-clockwise red), a uniform
// flow's speed and a uniform density; obstacle cells are grey in these
// views only, and the grey follows the obstacle list.
TEST_P(Picture, ScalarViewsColourKnownFieldsAndGreyTheObstacles)
{
    const int W = 24, H = 16;
    auto sim = MakeSolver(GetParam(), W, H);
    sim->SetViscosity(0.05f);
    sim->SetBoundaryVelocity(0.0f, 0.0f);
    const float omega = 0.002f;
    std::vector<LatticeCell> cells(static_cast<size_t>(W) * H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            cells[static_cast<size_t>(y * W + x)] =
                ComputeEquilibrium(1.0f, -omega * (float(y) - 8.0f), omega * (float(x) - 12.0f));
    ASSERT_TRUE(sim->LoadGridState(&cells[0].f[0], int(cells.size() * sizeof(LatticeCell))));
    const DrawRect rect{0.0f, float(W), 0.0f, float(H)};
    auto worstInterior = [&](const std::vector<unsigned char>& pixels, Rgb expected) {
        int worst = 0;
        for (int y = 2; y < H - 2; ++y)
            for (int x = 2; x < W - 2; ++x)
                worst = std::max(worst, Distance(&pixels[static_cast<size_t>(y * W + x) * 4],
                                                 {expected.r, expected.g, expected.b, 1.0f}));
        return worst;
    };
    for (const float scale : {100.0f, -100.0f, 400.0f}) {
        OffscreenPicture picture(W, H);
        sim->RenderVorticity(scale, rect);
        EXPECT_LE(worstInterior(picture.Read(), DivergingColour(2.0f * omega * scale)), 2) << "scale " << scale;
    }

    sim->ResetFlow(0.06f, -0.08f);  // speed 0.1
    {
        OffscreenPicture picture(W, H);
        sim->RenderSpeed(3.0f, rect);
        EXPECT_LE(worstInterior(picture.Read(), SequentialColour(0.3f)), 2);
    }
    cells.assign(cells.size(), ComputeEquilibrium(1.01f, 0.0f, 0.0f));
    ASSERT_TRUE(sim->LoadGridState(&cells[0].f[0], int(cells.size() * sizeof(LatticeCell))));
    for (const float bias : {1.0f, 1.03f}) {
        OffscreenPicture picture(W, H);
        sim->RenderDensity(bias, 50.0f, rect);
        EXPECT_LE(worstInterior(picture.Read(), DivergingColour((1.01f - bias) * 50.0f)), 2) << "bias " << bias;
    }

    sim->AddObstacle({0, 5, 6, 3, 2});
    auto isGrey = [&](const std::vector<unsigned char>& pixels, int x, int y) {
        const unsigned char* p = &pixels[static_cast<size_t>(y * W + x) * 4];
        return p[0] == 128 && p[1] == 128 && p[2] == 128;
    };
    for (const bool removed : {false, true}) {
        for (int mode = 0; mode < kViewModeCount; ++mode) {
            OffscreenPicture picture(W, H);
            RenderView(*sim, {ViewModeFromIndex(mode), 1.0f, 0.1f}, rect);
            const auto pixels = picture.Read();
            const bool grey = !removed && mode != int(ViewMode::Velocity);
            EXPECT_EQ(isGrey(pixels, 5, 6), grey) << "mode " << mode << (removed ? ", removed" : "");
            EXPECT_EQ(isGrey(pixels, 7, 7), grey) << "mode " << mode << (removed ? ", removed" : "");
            EXPECT_FALSE(isGrey(pixels, 8, 7)) << "mode " << mode;
        }
        sim->RemoveObstacle(sim->Obstacles().begin());
    }
    EXPECT_TRUE(messages.reports.empty());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(BothSolvers, Picture, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Gpu" : "Cpu"; });

// Both solvers colour the same lattice alike in every view: a developed
// flow past a disc, computed once and loaded into each.
TEST_F(HeadlessGl, BothSolversDrawEveryViewOfALatticeAlike)
{
    const int W = 64, H = 32;
    const Obstacle disc{1, 14, 11, 10, 10};
    CpuLbmSimulator source(W, H);
    source.AddObstacle(disc);
    source.SetViscosity(0.02f);
    source.SetBoundaryVelocity(0.1f, 0.0f);
    source.ResetFlow(0.1f, 0.0f);
    source.Step(400);
    std::vector<LatticeCell> cells(static_cast<size_t>(W) * H);
    const int bytes = int(cells.size() * sizeof(LatticeCell));
    ASSERT_TRUE(source.FetchGridState(&cells[0].f[0], bytes));

    std::vector<unsigned char> pictures[2][kViewModeCount];
    for (const bool gpu : {false, true}) {
        auto sim = MakeSolver(gpu, W, H);
        sim->AddObstacle(disc);
        ASSERT_TRUE(sim->LoadGridState(&cells[0].f[0], bytes));
        for (int mode = 0; mode < kViewModeCount; ++mode) {
            OffscreenPicture picture(W, H);
            RenderView(*sim, {ViewModeFromIndex(mode), 1.0f, 0.1f}, {0.0f, float(W), 0.0f, float(H)});
            pictures[gpu][mode] = picture.Read();
        }
    }
    for (int mode = 0; mode < kViewModeCount; ++mode) {
        const auto& cpu = pictures[0][mode];
        const auto& gpu = pictures[1][mode];
        int worst = 0;
        int distinctColours = 0;
        for (size_t n = 0; n < cpu.size(); n += 4) {
            for (size_t k = 0; k < 3; ++k)
                worst = std::max(worst, std::abs(int(cpu[n + k]) - int(gpu[n + k])));
            distinctColours += n > 0 && std::memcmp(&cpu[n], &cpu[n - 4], 3) != 0;
        }
        EXPECT_LE(worst, 1) << "mode " << mode;
        EXPECT_GT(distinctColours, W * H / 4) << "mode " << mode << ": the flow should show";
    }
    EXPECT_TRUE(messages.reports.empty());
}

TEST_F(HeadlessGl, CpuPictureSurvivesANewContext)
{
    const int W = 16, H = 8;
    CpuLbmSimulator cpu(W, H);
    cpu.SetViscosity(0.05f);
    cpu.SetBoundaryVelocity(0.1f, 0.0f);
    cpu.ResetFlow(0.1f, 0.0f);
    {
        OffscreenPicture picture(W, H);
        cpu.RenderVelocity(1.0f, {0.0f, float(W), 0.0f, float(H)});
    }
    // Its textures and program died with the first context; the next draw
    // makes new ones under the second.
    DestroyRenderContext();
    ASSERT_TRUE(CreateHeadlessRenderContext());
    OffscreenPicture picture(W, H);
    cpu.RenderVelocity(1.0f, {0.0f, float(W), 0.0f, float(H)});
    const auto pixels = picture.Read();
    EXPECT_LE(Distance(&pixels[0], WheelTexel(384, 256)), 3);
    EXPECT_TRUE(messages.reports.empty());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(CpuPictureWithoutContext, ReportsOnceAndTheSolverRuns)
{
    MessageCollector messages;
    ASSERT_EQ(CurrentRenderContext(), nullptr);
    CpuLbmSimulator cpu(16, 8);
    cpu.SetViscosity(0.05f);
    cpu.SetBoundaryVelocity(0.1f, 0.0f);
    cpu.ResetFlow(0.1f, 0.0f);
    cpu.RenderVelocity(1.0f, {0, 16, 0, 8});
    cpu.Step(3);
    cpu.RenderVelocity(1.0f, {0, 16, 0, 8});
    EXPECT_EQ(messages.reports.size(), 1u);
}
