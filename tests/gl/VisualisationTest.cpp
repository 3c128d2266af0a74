#include <epoxy/gl.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "sim/CpuLbmSimulator.h"
#include "sim/GpuLbmSimulator.h"
#include "sim/HueWheel.h"
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

TEST_P(Picture, DensityPictureIsGreyFromBiasAndScaleOnTheGpuOnly)
{
    const int W = 12, H = 8;
    auto sim = MakeSolver(GetParam(), W, H);
    sim->SetViscosity(0.05f);
    sim->SetBoundaryVelocity(0.0f, 0.0f);
    sim->ResetFlow(0.05f, 0.0f);  // density 1 everywhere
    OffscreenPicture picture(W, H);
    sim->RenderDensity(0.5f, 1.0f, {0.0f, float(W), 0.0f, float(H)});
    const auto pixels = picture.Read();
    // The GPU draws grey (1 - 0.5) * 1; the CPU solver has no density picture.
    const int expected = GetParam() ? 128 : 0;
    for (size_t n = 0; n < pixels.size(); n += 4)
        for (int k = 0; k < 3; ++k)
            ASSERT_NEAR(pixels[n + static_cast<size_t>(k)], expected, 1) << "pixel " << n / 4;
}

INSTANTIATE_TEST_SUITE_P(BothSolvers, Picture, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Gpu" : "Cpu"; });

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
