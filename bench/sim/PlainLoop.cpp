#include "bench/sim/PlainLoop.h"

void StepPlainLoopO2(const CpuStepArgs& args)
{
    WithCollisionModel(args.model, [&](auto model) {
        for (int y = 1; y <= args.H - 2; ++y)
            for (int x = 1; x <= args.W - 2; ++x)
                StepCell<model()>(args, y * args.W + x);
    });
}
