// A study without a window: the parameters bound through the storage
// component as the window binds them ("config" in the working folder
// applies and is never written), the simulator built from them, the steps
// run with progress on standard error, the outputs written at the end and
// every K steps.
#pragma once

#include "app/HeadlessOptions.h"

// Exit codes of the program's command line.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRunFailed = 1;
inline constexpr int kExitBadCommandLine = 2;

// The whole headless program: parses the arguments and runs.  Every failure
// is one line on standard error, and the exit code says which kind it was.
int RunHeadlessProgram(int argc, char** argv);

// Prints the options to standard output; returns kExitDone.
int PrintHelpProgram(int argc, char** argv);

// A run of parsed options, in a process whose COM is initialised.
int RunHeadless(const HeadlessOptions& options);
