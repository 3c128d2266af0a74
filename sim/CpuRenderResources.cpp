#include <epoxy/gl.h>

#include "sim/CpuRenderResources.h"

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

void CpuRenderResources::RenderVelocity(const LatticeCell* lattice, int W, int H, float brightness, DrawRect rect)
{
    if (W < 1 || H < 1 || !Prepare(W, H) || !program->IsLoaded())
        return;

    const size_t cells = static_cast<size_t>(W) * static_cast<size_t>(H);
    staging.resize(cells * 4);
    for (size_t n = 0; n < cells; ++n) {
        const Macroscopic m = ComputeMacroscopic(lattice[n]);
        float* t = &staging[4 * n];
        t[0] = m.ux;
        t[1] = m.uy;
        t[2] = m.rho;
        t[3] = 0.0f;
    }
    velocity.Resize(staging.data(), W, H);

    TextureBinding velocityBinding(velocity, 0);
    TextureBinding wheelBinding(hueWheel, 1);
    ProgramBinding programBinding(*program);
    program->SetParameter("brightness", brightness);
    DrawQuad({rect.xmin, rect.xmax, rect.ymin, rect.ymax}, {0.0, static_cast<double>(W), 0.0, static_cast<double>(H)});
}
