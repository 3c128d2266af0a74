#include "app/SimulatorFactory.h"

#include "sim/CpuLbmSimulator.h"
#include "sim/CpuRenderResources.h"
#ifdef EDDYRA_HAVE_GPU_SOLVER
#include "sim/GpuLbmSimulator.h"
#endif

std::shared_ptr<LbmSimulator> CreateSimulator(int32_t simulationType, int width, int height)
{
#ifdef EDDYRA_HAVE_GPU_SOLVER
    if (simulationType == 0)
        return std::make_shared<GpuLbmSimulator>(width, height);
#else
    (void)simulationType;
#endif
    return std::make_shared<CpuLbmSimulator>(width, height, std::make_unique<CpuRenderResources>());
}

CollisionModel CollisionFromIndex(int32_t collision)
{
    return collision == 1 ? CollisionModel::Smagorinsky : CollisionModel::Bgk;
}

std::shared_ptr<LbmSimulator> StartSimulator(int32_t simulationType, int width, int height, float invViscosity,
                                             float ux, float uy, CollisionModel collision)
{
    std::shared_ptr<LbmSimulator> simulator = CreateSimulator(simulationType, width, height);
    simulator->SetViscosity(1.0f / invViscosity);
    simulator->SetBoundaryVelocity(ux, uy);
    simulator->ResetFlow(ux, uy);
    simulator->SetCollisionModel(collision);
    return simulator;
}
