// Writes the velocity picture of a flow past a cylinder, drawn by each
// solver into an off-screen target, as "flow_gpu.png" and "flow_cpu.png"
// in the folder given as the first argument (default: the current one).
#include <epoxy/gl.h>

#include <QImage>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/gl/GlBenchSupport.h"
#include "sim/CpuLbmSimulator.h"
#include "sim/CpuRenderResources.h"
#include "sim/GpuLbmSimulator.h"

namespace {

constexpr int W = 256, H = 128, kSteps = 3000, kScale = 3;

bool WritePicture(LbmSimulator& sim, const std::filesystem::path& file)
{
    sim.AddObstacle({1, 50, 54, 20, 20});
    sim.SetViscosity(1.0f / 80.0f);
    sim.SetBoundaryVelocity(0.1f, 0.0f);
    sim.ResetFlow(0.1f, 0.0f);
    sim.Step(kSteps);
    OffscreenTarget target(W * kScale, H * kScale);
    target.BeginFrame();
    sim.RenderVelocity(1.0f, {0.0f, float(W * kScale), 0.0f, float(H * kScale)});
    const auto pixels = target.Read();
    QImage image(pixels.data(), target.width, target.height, target.width * 4, QImage::Format_RGBA8888);
    // GL rows run bottom to top; the image's top to bottom.
    return image.mirrored(false, true).save(QString::fromStdString(file.string()), "PNG");
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = std::filesystem::absolute(argc > 1 ? argv[1] : ".");
    if (!StartHeadless())
        return 1;
    bool ok = true;
    {
        GpuLbmSimulator gpu(W, H);
        ok = WritePicture(gpu, folder / "flow_gpu.png") && ok;
        CpuLbmSimulator cpu(W, H, std::make_unique<CpuRenderResources>());
        ok = WritePicture(cpu, folder / "flow_cpu.png") && ok;
    }
    DestroyRenderContext();
    std::printf("%s\n", ok ? "pictures written" : "writing a picture failed");
    return ok ? 0 : 1;
}
