#include "sim/CpuStepStoreTrial.h"

void CpuStepStoreTrial::Record(double seconds)
{
    if (!Running())
        return;
    const int mode = StreamNext() ? 1 : 0;
    if (taken % kBlockSteps != 0 && seconds >= 0.0 && (best[mode] < 0.0 || seconds < best[mode]))
        best[mode] = seconds;
    if (++taken == kSteps)
        streaming = best[1] >= 0.0 && best[0] >= 0.0 && best[1] < best[0];
}
