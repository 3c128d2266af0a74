// The refusal sound of the controls.  Tests replace the sound with a
// handler of their own to count refusals.
#pragma once

#include <functional>

void MessageBeep();

// Installs handler (an empty one restores the system sound); returns the
// handler that was installed before.
std::function<void()> SetBeepHandler(std::function<void()> handler);
