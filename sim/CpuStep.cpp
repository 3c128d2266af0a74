#include "sim/CpuStep.h"

void StepReference(const CpuStepArgs& args)
{
    for (int y = 1; y <= args.H - 2; ++y)
        for (int x = 1; x <= args.W - 2; ++x)
            StepCell(args, y * args.W + x);
}
