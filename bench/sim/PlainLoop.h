// The plain sequential loop, built at -O2 whatever the build type: the
// baseline the benchmark compares against.
#pragma once

#include "sim/CpuStep.h"

void StepPlainLoopO2(const CpuStepArgs& args);
