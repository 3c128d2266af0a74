// The scalar path of the fast step: the same cell update as the plain loop,
// built at -O3 (whatever the build type) so that the nine-value loops are
// unrolled into registers; that alone makes it about four times faster.
#include "sim/CpuStep.h"

void StepRowSpan(const CpuStepArgs& args, int y, int xBegin, int xEnd)
{
    WithCollisionModel(args.model, [&](auto model) {
        for (int x = xBegin; x < xEnd; ++x)
            StepCell<model()>(args, y * args.W + x);
    });
}

