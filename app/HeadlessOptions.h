// The command line of Eddyra.  Without options it opens the window, as it
// always has; "--headless" runs a study without a window, and "--help"
// lists the options.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QStringList>

#include "app/ParameterAssignment.h"

enum class LaunchMode {
    Window,    // no option of ours: the interactive window, arguments ignored
    Headless,  // "--headless"
    Help,      // "--help" or "-h"
    Misuse,    // a headless option without "--headless"
};

enum class Preset { None, Poiseuille, Vortex };

struct HeadlessOptions {
    std::vector<ParameterAssignment> assignments;  // in command-line order
    Preset preset = Preset::None;
    std::string obstacles;  // obstacle file to add after the preset or state
    std::string state;      // saved state to continue from
    int64_t steps = 0;
    int64_t every = 0;  // 0: outputs at the end only
    // Output file names, "{step}" standing for the step; empty: not written.
    std::string dump, vtk, npy, png, saveState;
    int pngScale = 1;

    bool AnyOutput() const
    {
        return !dump.empty() || !vtk.empty() || !npy.empty() || !png.empty() || !saveState.empty();
    }
};

// arguments include the program name first.  For Misuse, *error names the
// option that needs "--headless".
LaunchMode ChooseLaunchMode(const QStringList& arguments, std::string* error);

// False with a one-line reason for an unknown option, a missing or bad
// value, an unknown parameter, a value outside its parameter's range, or
// options that exclude each other.
bool ParseHeadlessOptions(const QStringList& arguments, HeadlessOptions& options, std::string* error);

// Every option, the exit codes and the parameter names.
std::string HeadlessHelp();
