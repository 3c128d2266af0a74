// The solver that keeps the lattice in graphics memory and advances it with
// full-grid fragment-program passes, ping-ponging between two targets.
// Needs the calling thread's drawing context (platform/gl/RenderContext.h);
// built without one it reports that once and then does nothing.
#pragma once

#include "sim/FragmentProgram.h"
#include "sim/GlTexture.h"
#include "sim/LazyProgram.h"
#include "sim/LatticeTarget.h"
#include "sim/LbmSimulator.h"
#include "sim/RenderTexture.h"
#include "sim/ViewTextures.h"

class GpuLbmSimulator : public LbmSimulator {
public:
    GpuLbmSimulator(int W, int H);
    ~GpuLbmSimulator() override;

    void Step(int iterations) override;
    void ResetFlow(float ux, float uy) override;
    void SetBoundaryVelocity(float ux, float uy) override;
    void SetViscosity(float nu) override;
    void RenderVelocity(float brightness, DrawRect rect) override;
    void RenderDensity(float bias, float scale, DrawRect rect) override;
    void RenderVorticity(float scale, DrawRect rect) override;
    void RenderSpeed(float scale, DrawRect rect) override;
    bool FetchGridState(float* dst, int sizeInBytes) override;
    bool LoadGridState(const float* src, int sizeInBytes) override;
    // Smagorinsky is a second collide program, loaded the first time it is
    // chosen; while it cannot be loaded the cells relax by Bgk (the shader
    // layer has reported why).
    void SetCollisionModel(CollisionModel model) override;
    bool BlownUp() override;

    int Width() const { return W; }
    int Height() const { return H; }
    float RelaxationCoefficient() const { return relaxationCoefficient; }
    const LatticeCell& BoundaryCell() const { return boundaryCell; }
    // False when built without a drawing context, or when the context it
    // was built under is no longer the current one.
    bool Usable() const;

private:
    void StreamPass();
    void CollidePass();
    // Reads the current lattice, one attachment at a time, as W * H RGB
    // triples in cell order; gives each to use(k, rgb).
    template <typename Use>
    void ReadLattice(Use use);
    void WallPass();
    void BorderFillPass();
    void FillQuads(const LatticeCell& cell, const double (*quads)[4], int count);
    // withViewTextures: the scalar views' colour maps and obstacle mask
    // on units 4 and 5.
    template <typename SetParameters>
    void RenderPicture(const FragmentProgram& program, SetParameters setParameters, DrawRect rect,
                       bool withViewTextures = false);
    void RenderField(const FragmentProgram* program, float bias, float scale, DrawRect rect);

    LatticeTarget a;
    LatticeTarget b;
    LatticeTarget* current = &a;
    LatticeTarget* other = &b;
    int W;
    int H;
    float relaxationCoefficient = 0.0f;
    LatticeCell boundaryCell{};
    FragmentProgram stream;
    FragmentProgram collide;
    FragmentProgram wall;
    FragmentProgram fill;
    FragmentProgram wallEllipse;
    FragmentProgram velRender;
    FragmentProgram densityRender;
    FragmentProgram collideSmagorinsky;
    RenderTexture display;
    GlTexture hueWheel;
    // The scalar views other than the density are loaded when first drawn.
    LazyProgram vorticityRender{"cg/vorticityRender_frag.cg"};
    LazyProgram speedRender{"cg/speedRender_frag.cg"};
    ViewTextures viewTextures;
    uint64_t contextSerial = 0;
};
