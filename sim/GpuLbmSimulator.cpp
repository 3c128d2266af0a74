#include <epoxy/gl.h>

#include "sim/GpuLbmSimulator.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/gl/RenderContext.h"
#include "sim/DrawQuad.h"
#include "sim/HueWheel.h"
#include "sim/MatrixScope.h"
#include "sim/ObstacleMask.h"
#include "sim/ProgramBinding.h"
#include "sim/RenderToTexture.h"
#include "sim/TextureBinding.h"

namespace {

constexpr const char* kCaption = "GPU solver";

// Which direction each channel of texture k holds: e = (c - 1, 1 - k).
constexpr int kDirection[3][3] = {{6, 2, 5}, {3, 0, 1}, {7, 4, 8}};

// Keeps the caller's framebuffers: every operation draws into the lattice
// targets and must leave the caller's drawing where it was.
class FramebufferRestore {
public:
    FramebufferRestore()
    {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    }
    ~FramebufferRestore()
    {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
    }
    FramebufferRestore(const FramebufferRestore&) = delete;
    FramebufferRestore& operator=(const FramebufferRestore&) = delete;

private:
    GLint draw = 0;
    GLint read = 0;
};

void SetRows(const FragmentProgram& program, const LatticeCell& c)
{
    const float* f = c.f;
    program.SetParameter("row0", f[6], f[2], f[5]);
    program.SetParameter("row1", f[3], f[0], f[1]);
    program.SetParameter("row2", f[7], f[4], f[8]);
}

void Quad(double x0, double y0, double x1, double y1)
{
    const QuadRect r{x0, x1, y0, y1};
    DrawQuad(r, r);
}

}  // namespace

GpuLbmSimulator::GpuLbmSimulator(int width, int height)
    : W(width), H(height),
      stream(CurrentFragmentProfile()), collide(CurrentFragmentProfile()), wall(CurrentFragmentProfile()),
      fill(CurrentFragmentProfile()), wallEllipse(CurrentFragmentProfile()), velRender(CurrentFragmentProfile()),
      densityRender(CurrentFragmentProfile()), collideSmagorinsky(CurrentFragmentProfile()),
      display(GL_TEXTURE_2D, GL_RGBA8), hueWheel(GL_TEXTURE_2D, GL_RGBA8)
{
    const uint64_t serial = CurrentRenderContextSerial();
    if (serial == 0) {
        ReportMessage(kCaption, "The GPU solver needs an OpenGL drawing context, and none exists on this "
                                "thread. The simulation will not run; choose the CPU solver.");
        return;
    }
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RECTANGLE_TEXTURE_SIZE, &maxSize);
    if (W < 1 || H < 1 || W > maxSize || H > maxSize) {
        ReportMessage(kCaption, "The grid of " + std::to_string(W) + " x " + std::to_string(H) +
                                    " cells does not fit this OpenGL context (at most " +
                                    std::to_string(maxSize) + " cells a side).");
        return;
    }
    const bool completeA = a.Create(W, H);
    const bool completeB = b.Create(W, H);
    if (!completeA || !completeB) {
        ReportMessage(kCaption, "This OpenGL context cannot draw into three float textures at once "
                                "(incomplete framebuffer); the GPU solver will not run.");
        a.Destroy();
        b.Destroy();
        return;
    }
    contextSerial = serial;

    stream.Load("cg/stream_frag.cg", "main");
    collide.Load("cg/collide_frag.cg", "main");
    fill.Load("cg/fill_frag.cg", "main");
    wall.Load("cg/wall_frag.cg", "main");
    wallEllipse.Load("cg/wallEllipse_frag.cg", "main");
    velRender.Load("cg/velRender_frag.cg", "main");
    densityRender.Load("cg/densityRender_frag.cg", "main");

    if (display.Width() != W || display.Height() != H)
        display.Resize(nullptr, W, H);
    display.SetParameters(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    hueWheel.Resize(HueWheel().data(), kHueWheelSize, kHueWheelSize);
    hueWheel.SetParameters(GL_LINEAR, GL_LINEAR, GL_CLAMP, GL_CLAMP);
}

// Members go in reverse order: hue wheel, display, programs, B, A.
GpuLbmSimulator::~GpuLbmSimulator() = default;

bool GpuLbmSimulator::Usable() const { return contextSerial != 0 && contextSerial == CurrentRenderContextSerial(); }

void GpuLbmSimulator::StreamPass()
{
    if (!stream.IsLoaded())
        return;
    ProgramBinding binding(stream);
    Quad(0, 0, W, H);
}

void GpuLbmSimulator::CollidePass()
{
    const bool smagorinsky = collisionModel == CollisionModel::Smagorinsky && collideSmagorinsky.IsLoaded();
    const FragmentProgram& program = smagorinsky ? collideSmagorinsky : collide;
    if (!program.IsLoaded())
        return;
    ProgramBinding binding(program);
    if (smagorinsky) {
        // Derived here, in the processor's rounding, so that both solvers
        // start each cell from the same bits.
        program.SetParameter("tau0", SmagorinskyTau0(relaxationCoefficient));
        program.SetParameter("smagorinskyFactor", kSmagorinskyFactor);
    } else {
        program.SetParameter("relaxCoef", relaxationCoefficient);
    }
    Quad(0, 0, W, H);
}

void GpuLbmSimulator::WallPass()
{
    for (const Obstacle& o : obstacles) {
        // An empty or negative extent covers no cell; its quad would still
        // cover the mirrored rectangle.
        if (o.width <= 0 || o.height <= 0)
            continue;
        const double x0 = o.x, y0 = o.y;
        const double x1 = x0 + o.width, y1 = y0 + o.height;
        if (o.isEllipse == 0) {
            if (!wall.IsLoaded())
                continue;
            ProgramBinding binding(wall);
            Quad(x0, y0, x1, y1);
        } else {
            if (!wallEllipse.IsLoaded())
                continue;
            ProgramBinding binding(wallEllipse);
            const float a = static_cast<float>(o.width) * 0.5f;
            const float b = static_cast<float>(o.height) * 0.5f;
            wallEllipse.SetParameter("centerPos", static_cast<float>(o.x) + a, static_cast<float>(o.y) + b);
            wallEllipse.SetParameter("size2Inv", 2.0f / static_cast<float>(o.width),
                                     2.0f / static_cast<float>(o.height));
            // The half axes let the program evaluate the coverage test in the
            // same float operations as the obstacle mask of the CPU solver.
            wallEllipse.SetParameter("halfSize", a, b);
            Quad(x0, y0, x1, y1);
        }
    }
}

void GpuLbmSimulator::FillQuads(const LatticeCell& cell, const double (*quads)[4], int count)
{
    if (!fill.IsLoaded())
        return;
    ProgramBinding binding(fill);
    SetRows(fill, cell);
    for (int q = 0; q < count; ++q)
        Quad(quads[q][0], quads[q][1], quads[q][2], quads[q][3]);
}

void GpuLbmSimulator::BorderFillPass()
{
    const double w = W, h = H;
    const double quads[4][4] = {
        {0, 0, 1, h},          // left column
        {w - 1, 0, w, h},      // right column
        {1, 0, w - 1, 1},      // bottom row without its corners
        {1, h - 1, w - 1, h},  // top row without its corners
    };
    FillQuads(boundaryCell, quads, 4);
}

void GpuLbmSimulator::Step(int iterations)
{
    if (!Usable())
        return;
    FramebufferRestore framebuffers;
    MatrixScope matrices;
    glPushAttrib(GL_VIEWPORT_BIT);
    for (int n = 0; n < iterations; ++n) {
        current->BindAsInput();
        other->BindAsTarget();
        StreamPass();
        std::swap(current, other);

        current->BindAsInput();
        other->BindAsTarget();
        CollidePass();
        WallPass();
        BorderFillPass();
        std::swap(current, other);
    }
    LatticeTarget::UnbindInputs();
    glPopAttrib();
}

void GpuLbmSimulator::ResetFlow(float ux, float uy)
{
    if (!Usable())
        return;
    FramebufferRestore framebuffers;
    current->BindAsTarget();
    const double quad[1][4] = {{0, 0, static_cast<double>(W), static_cast<double>(H)}};
    FillQuads(ComputeEquilibrium(1.0f, ux, uy), quad, 1);
}

void GpuLbmSimulator::SetBoundaryVelocity(float ux, float uy)
{
    boundaryCell = ComputeEquilibrium(1.0f, ux, uy);
    if (!Usable())
        return;
    FramebufferRestore framebuffers;
    current->BindAsTarget();
    BorderFillPass();
}

void GpuLbmSimulator::SetViscosity(float nu) { relaxationCoefficient = RelaxationFromViscosity(nu); }

template <typename Use>
void GpuLbmSimulator::ReadLattice(Use use)
{
    FramebufferRestore framebuffers;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, current->Framebuffer());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    std::vector<float> rgb(static_cast<size_t>(W) * static_cast<size_t>(H) * 3);
    for (int k = 0; k < 3; ++k) {
        glReadBuffer(GL_COLOR_ATTACHMENT0 + k);
        glReadPixels(0, 0, W, H, GL_RGB, GL_FLOAT, rgb.data());
        use(k, rgb);
    }
}

bool GpuLbmSimulator::FetchGridState(float* dst, int sizeInBytes)
{
    const int64_t expected = int64_t{W} * H * int64_t{sizeof(LatticeCell)};
    if (dst == nullptr || sizeInBytes != expected || !Usable())
        return false;
    const size_t cells = static_cast<size_t>(W) * static_cast<size_t>(H);
    ReadLattice([&](int k, const std::vector<float>& rgb) {
        for (size_t n = 0; n < cells; ++n)
            for (int c = 0; c < 3; ++c)
                dst[9 * n + static_cast<size_t>(kDirection[k][c])] = rgb[3 * n + static_cast<size_t>(c)];
    });
    return true;
}

bool GpuLbmSimulator::BlownUp()
{
    if (!Usable())
        return false;
    bool blownUp = false;
    ReadLattice([&](int, const std::vector<float>& rgb) {
        for (const float v : rgb)
            blownUp |= d2q9::IsBlownUpValue(v);
    });
    return blownUp;
}

void GpuLbmSimulator::SetCollisionModel(CollisionModel model)
{
    LbmSimulator::SetCollisionModel(model);
    if (model == CollisionModel::Smagorinsky && Usable() && !collideSmagorinsky.IsLoaded())
        collideSmagorinsky.Load("cg/collideSmagorinsky_frag.cg", "main");
}

bool GpuLbmSimulator::LoadGridState(const float* src, int sizeInBytes)
{
    const int64_t expected = int64_t{W} * H * int64_t{sizeof(LatticeCell)};
    if (src == nullptr || sizeInBytes != expected || !Usable())
        return false;
    // Float data into float textures keeps every bit.
    const size_t cells = static_cast<size_t>(W) * static_cast<size_t>(H);
    std::vector<float> rgb(cells * 3);
    glActiveTexture(GL_TEXTURE0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    for (int k = 0; k < 3; ++k) {
        for (size_t n = 0; n < cells; ++n)
            for (int c = 0; c < 3; ++c)
                rgb[3 * n + static_cast<size_t>(c)] = src[9 * n + static_cast<size_t>(kDirection[k][c])];
        glBindTexture(GL_TEXTURE_RECTANGLE, current->Texture(k));
        glTexSubImage2D(GL_TEXTURE_RECTANGLE, 0, 0, 0, W, H, GL_RGB, GL_FLOAT, rgb.data());
    }
    glBindTexture(GL_TEXTURE_RECTANGLE, 0);
    return true;
}

template <typename SetParameters>
void GpuLbmSimulator::RenderPicture(const FragmentProgram& program, SetParameters setParameters, DrawRect rect,
                                    bool withViewTextures)
{
    if (!Usable() || !program.IsLoaded())
        return;
    if (withViewTextures) {
        // The mask is built from the list only after the list changed.
        const auto buildMask = [this](std::span<int32_t> cells) { BuildObstacleMask(cells, W, H, obstacles); };
        if (!viewTextures.Prepare(W, H, ObstacleRevision(), buildMask))
            return;
    }
    {
        MatrixScope matrices;
        RenderToTexture target(display);
        if (!target.Active())
            return;
        ProgramBinding binding(program);
        setParameters();
        SetOrthoFor(display);
        current->BindAsInput();
        {
            TextureBinding wheel(hueWheel, 3);
            if (withViewTextures) {
                TextureBinding maps(viewTextures.ColourMapTexture(), 4);
                TextureBinding mask(viewTextures.MaskTexture(), 5);
                Quad(0, 0, W, H);
            } else {
                Quad(0, 0, W, H);
            }
        }
        LatticeTarget::UnbindInputs();
    }
    glPushAttrib(GL_ENABLE_BIT);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, display.Name());
    glEnable(GL_TEXTURE_2D);
    DrawQuad({rect.xmin, rect.xmax, rect.ymin, rect.ymax}, {0.0, 1.0, 0.0, 1.0});
    glPopAttrib();
    glBindTexture(GL_TEXTURE_2D, 0);
}

void GpuLbmSimulator::RenderVelocity(float brightness, DrawRect rect)
{
    RenderPicture(velRender, [&] { velRender.SetParameter("brightness", brightness); }, rect);
}

void GpuLbmSimulator::RenderField(const FragmentProgram* program, float bias, float scale, DrawRect rect)
{
    if (program == nullptr)
        return;
    RenderPicture(*program, [&] {
        program->SetParameter("bias", bias);
        program->SetParameter("scale", scale);
    }, rect, true);
}

void GpuLbmSimulator::RenderDensity(float bias, float scale, DrawRect rect)
{
    RenderField(&densityRender, bias, scale, rect);
}

void GpuLbmSimulator::RenderVorticity(float scale, DrawRect rect)
{
    if (Usable())
        RenderField(vorticityRender.Get(), 0.0f, scale, rect);
}

void GpuLbmSimulator::RenderSpeed(float scale, DrawRect rect)
{
    if (Usable())
        RenderField(speedRender.Get(), 0.0f, scale, rect);
}
