#include "app/FramePacing.h"

#include <algorithm>

int32_t StepsForPass(FramePacing& pacing, int32_t frameSteps, double budgetSeconds)
{
    if (pacing.owed <= 0)
        pacing.owed = std::max<int32_t>(frameSteps, 1);
    int32_t steps = 1;
    if (pacing.secondsPerStep > 0.0) {
        // Compared in floating point: a tiny cost gives a quotient beyond
        // any integer.
        const double affordable = budgetSeconds / pacing.secondsPerStep;
        steps = affordable >= static_cast<double>(pacing.owed) ? pacing.owed
                                                                 : std::max<int32_t>(1, static_cast<int32_t>(affordable));
    }
    pacing.owed -= steps;
    return steps;
}

void RecordPassTime(FramePacing& pacing, int32_t steps, double seconds)
{
    // The latest pass alone: the cost follows a resized grid or a loaded
    // machine within one pass.
    // A pass too quick for the clock still counts as measured.
    if (steps > 0 && seconds >= 0.0)
        pacing.secondsPerStep = std::max(seconds / steps, 1e-9);
}
