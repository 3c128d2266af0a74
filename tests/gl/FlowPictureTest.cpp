// The PNG of the flow picture against what the frame loop draws.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "app/FlowPicture.h"
#include "app/PngEncoder.h"
#include "sim/CpuLbmSimulator.h"
#include "sim/CpuRenderResources.h"
#include "sim/GpuLbmSimulator.h"
#include "tests/gl/HeadlessGl.h"
#include "tests/gl/OffscreenTarget.h"

namespace {
using FlowPicture = HeadlessGl;

// A flow that differs from top to bottom and left to right, so that a
// picture flipped either way shows.
void Develop(LbmSimulator& sim)
{
    sim.SetViscosity(1.0f / 40.0f);
    sim.SetBoundaryVelocity(0.1f, 0.03f);
    sim.ResetFlow(0.1f, 0.03f);
    sim.AddObstacle({1, 10, 20, 8, 8});
    sim.Step(60);
}
}  // namespace

TEST_F(FlowPicture, FileHoldsThePixelsTheFrameLoopDrawsTopRowFirst)
{
    const int W = 64, H = 32, scale = 2;
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("flow_picture_" + std::to_string(::getpid()) + ".png")).string();
    for (int solver = 0; solver < 2; ++solver) {
        std::unique_ptr<LbmSimulator> sim;
        if (solver == 0)
            sim = std::make_unique<GpuLbmSimulator>(W, H);
        else
            sim = std::make_unique<CpuLbmSimulator>(W, H, std::make_unique<CpuRenderResources>());
        Develop(*sim);
        OffscreenTarget frame(W * scale, H * scale);
        frame.BeginFrame();
        sim->RenderVelocity(1.5f, {0.0f, float(W * scale), 0.0f, float(H * scale)});
        const std::vector<unsigned char> drawn = frame.Read();

        ASSERT_EQ(WriteFlowPicture(path, *sim, W, H, scale, {ViewMode::Velocity, 1.5f}), "") << solver;
        const QImage png(QString::fromStdString(path));
        ASSERT_EQ(png.width(), W * scale);
        ASSERT_EQ(png.height(), H * scale);
        int differing = 0;
        for (int y = 0; y < png.height(); ++y) {
            for (int x = 0; x < png.width(); ++x) {
                const unsigned char* d = &drawn[(static_cast<size_t>(png.height() - 1 - y) * png.width() + x) * 4];
                differing += png.pixel(x, y) != qRgb(d[0], d[1], d[2]);
            }
        }
        EXPECT_EQ(differing, 0) << (solver == 0 ? "GPU" : "CPU");
    }
    std::filesystem::remove(path);
    EXPECT_TRUE(messages.reports.empty());
}

TEST_F(FlowPicture, ScaleOutsideItsRangeIsRefusedAndNothingIsWritten)
{
    CpuLbmSimulator sim(64, 64);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("flow_picture_scale_" + std::to_string(::getpid()) + ".png")).string();
    EXPECT_NE(WriteFlowPicture(path, sim, 64, 64, 0, {}), "");
    EXPECT_NE(WriteFlowPicture(path, sim, 64, 64, kMaxPictureScale + 1, {}), "");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(PngEncoder, AnyImageFormatDecodesToItsColours)
{
    // Alpha and an odd width (rows that are no whole number of words);
    // every colour channel varies on its own.
    QImage image(37, 11, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(x * 7, y * 23, (x * y) % 256, 128 + x));
    std::vector<char> png;
    std::string error;
    ASSERT_TRUE(EncodePng(image, png, &error)) << error;
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG"));
    ASSERT_EQ(decoded.size(), image.size());
    EXPECT_FALSE(decoded.hasAlphaChannel());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(decoded.pixel(x, y), image.pixel(x, y) | 0xFF000000u) << x << ", " << y;
    EXPECT_FALSE(EncodePng(QImage(), png, &error));
}
