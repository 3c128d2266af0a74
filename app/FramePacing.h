// How one frame's time steps are spread over idle passes.  A frame is
// "view|updateRate" steps and then one picture; when those steps would keep
// the event loop waiting longer than the pass budget (a large grid on a slow
// renderer), they are taken over several passes and the picture is drawn
// after the last one.  A close request or a signal is then handled between
// passes, and every picture still shows the same steps as an unsplit frame.
#pragma once

#include <cstdint>

struct FramePacing {
    int32_t owed = 0;             // steps of the current frame not yet taken
    double secondsPerStep = 0.0;  // last measured cost of a step, its share of the picture included; 0: unknown
};

// The longest an idle pass should keep events waiting.  A frame at the
// default settings takes well under this, so it is never split.
inline constexpr double kPassBudgetSeconds = 0.25;

// Starts a frame of frameSteps steps when none is owed, and returns how many
// of the owed steps this pass takes (and no longer owes): all of them when
// they fit the budget, at least one.  With the cost not yet known (a new
// simulator), a single step measures it.
int32_t StepsForPass(FramePacing& pacing, int32_t frameSteps, double budgetSeconds = kPassBudgetSeconds);

// True when the steps taken so far complete the frame: its picture is due.
inline bool FrameComplete(const FramePacing& pacing) { return pacing.owed == 0; }

// Records how long a pass of `steps` steps took, its picture included.
void RecordPassTime(FramePacing& pacing, int32_t steps, double seconds);
