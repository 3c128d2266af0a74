#include <epoxy/gl.h>

#include "sim/CpuRenderResources.h"

#include <algorithm>

#include "platform/gl/RenderContext.h"
#include "sim/DrawQuad.h"
#include "sim/HueWheel.h"
#include "sim/ProgramBinding.h"
#include "sim/TextureBinding.h"

CpuRenderResources::CpuRenderResources()
    : hueWheel(GL_TEXTURE_2D, GL_RGBA8), velocity(GL_TEXTURE_RECTANGLE, GL_RGBA32F)
{
}

// Members go in reverse order: program, then both textures.
CpuRenderResources::~CpuRenderResources() = default;

bool CpuRenderResources::Prepare(int W, int H)
{
    const uint64_t serial = CurrentRenderContextSerial();
    if (serial == 0) {
        if (!reportedMissingContext)
            ReportMessage("CPU solver", "The flow picture needs an OpenGL drawing context, and none exists on "
                                        "this thread; the simulation runs without a picture.");
        reportedMissingContext = true;
        return false;
    }
    if (serial == contextSerial)
        return true;
    // First draw, or first draw under a new context: (re)create everything.
    contextSerial = serial;
    program.reset();
    program.emplace(CurrentFragmentProfile());
    program->Load("cg/vel2hsl_frag.cg", "main");
    if (velocity.Width() != W || velocity.Height() != H || !velocity.Exists())
        velocity.Resize(nullptr, W, H);
    velocity.SetParameters(GL_NEAREST, GL_NEAREST, GL_CLAMP, GL_CLAMP);
    hueWheel.Resize(HueWheel().data(), kHueWheelSize, kHueWheelSize);
    hueWheel.SetParameters(GL_LINEAR, GL_LINEAR, GL_CLAMP, GL_CLAMP);
    return true;
}

LazyProgram* CpuRenderResources::FieldProgram(ViewMode mode)
{
    switch (mode) {
    case ViewMode::Vorticity:
        return &vorticity;
    case ViewMode::Speed:
        return &speed;
    case ViewMode::Density:
        return &density;
    case ViewMode::Velocity:
        break;
    }
    return nullptr;
}

float* CpuRenderResources::VelocityTexels(int W, int H, ViewMode mode)
{
    stagedWidth = stagedHeight = 0;
    if (W < 1 || H < 1 || !Prepare(W, H))
        return nullptr;
    LazyProgram* field = FieldProgram(mode);
    if (field ? field->Get() == nullptr : !program->IsLoaded())
        return nullptr;
    staging.resize(static_cast<size_t>(W) * static_cast<size_t>(H) * 4);
    stagedWidth = W;
    stagedHeight = H;
    return staging.data();
}

void CpuRenderResources::DrawVelocities(float brightness, DrawRect rect)
{
    if (stagedWidth < 1)
        return;
    const int W = stagedWidth;
    const int H = stagedHeight;
    velocity.Resize(staging.data(), W, H);

    TextureBinding velocityBinding(velocity, 0);
    TextureBinding wheelBinding(hueWheel, 1);
    ProgramBinding programBinding(*program);
    program->SetParameter("brightness", brightness);
    DrawQuad({rect.xmin, rect.xmax, rect.ymin, rect.ymax}, {0.0, static_cast<double>(W), 0.0, static_cast<double>(H)});
}

void CpuRenderResources::DrawField(ViewMode mode, float bias, float scale, DrawRect rect,
                                   std::span<const int32_t> obstacleMask, uint64_t obstacleRevision)
{
    LazyProgram* field = FieldProgram(mode);
    const FragmentProgram* fieldProgram = field ? field->Get() : nullptr;
    if (stagedWidth < 1 || fieldProgram == nullptr)
        return;
    const int W = stagedWidth;
    const int H = stagedHeight;
    const auto copyMask = [&](std::span<int32_t> cells) {
        if (obstacleMask.size() == cells.size())
            std::copy(obstacleMask.begin(), obstacleMask.end(), cells.begin());
    };
    if (!viewTextures.Prepare(W, H, obstacleRevision, copyMask))
        return;
    velocity.Resize(staging.data(), W, H);

    TextureBinding velocityBinding(velocity, 0);
    TextureBinding mapsBinding(viewTextures.ColourMapTexture(), 1);
    TextureBinding maskBinding(viewTextures.MaskTexture(), 2);
    ProgramBinding programBinding(*fieldProgram);
    fieldProgram->SetParameter("bias", bias);
    fieldProgram->SetParameter("scale", scale);
    DrawQuad({rect.xmin, rect.xmax, rect.ymin, rect.ymax}, {0.0, static_cast<double>(W), 0.0, static_cast<double>(H)});
}
