#include "app/HeadlessRun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include <QCoreApplication>

#include "app/FlowPicture.h"
#include "app/ObstacleFiles.h"
#include "app/Parameters.h"
#include "app/Presets.h"
#include "app/ProgressReport.h"
#include "app/ReportedMessages.h"
#include "app/SimulatorFactory.h"
#include "app/StateFiles.h"
#include "app/StepFileName.h"
#include "app/StorageBinding.h"
#include "app/StudyOutputs.h"
#include "app/TerminationSignal.h"
#include "app/ViewParameters.h"
#include "platform/com/Com.h"
#include "platform/gl/HeadlessRenderContext.h"
#include "platform/gl/RenderContext.h"
#include "sim/Checkpoint.h"
#include "sim/GpuLbmSimulator.h"

namespace {
// How often a run looks at its lattice for values that are not finite when
// no output makes it look anyway: as often as the window, since a look is
// one pass over the lattice where it lies; a blown-up flow ends the run
// within a second.
constexpr double kFlowCheckSeconds = 1.0;
constexpr int64_t kMaxChunk = 1 << 20;

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// An output that cannot be written is better known before the run than
// after hours of it: its folder must exist and take new files, and the name
// itself must not be a folder or anything else but a file.
std::string CheckOutputFolder(const std::string& pattern)
{
    const std::filesystem::path folder = std::filesystem::path(pattern).parent_path();
    if (folder.string().find("{step}") != std::string::npos)
        return {};
    const std::filesystem::path where = folder.empty() ? std::filesystem::path(".") : folder;
    std::error_code ec;
    if (!std::filesystem::is_directory(where, ec))
        return "cannot write \"" + pattern + "\": the folder \"" + where.string() + "\" does not exist";
    if (::access(where.c_str(), W_OK | X_OK) != 0)
        return "cannot write \"" + pattern + "\": the folder \"" + where.string() + "\" is not writable";
    const std::filesystem::file_status status = std::filesystem::status(pattern, ec);
    if (pattern.back() == '/' || std::filesystem::is_directory(status))
        return "cannot write \"" + pattern + "\": it names a folder, not a file";
    // A FIFO or a device (/dev/null, or /dev/stdout through its link) would
    // be replaced by a regular file, not written to.
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return "cannot write \"" + pattern + "\": it is not a regular file";
    return {};
}

class HeadlessRun {
public:
    explicit HeadlessRun(const HeadlessOptions& options) : options(options) {}
    ~HeadlessRun()
    {
        // GL objects of the solver go while their context is current; the
        // component is let go without a save: this run never writes "config".
        simulator.reset();
        binding.storage = nullptr;
        if (contextCreated)
            DestroyRenderContext();
    }
    HeadlessRun(const HeadlessRun&) = delete;
    HeadlessRun& operator=(const HeadlessRun&) = delete;

    std::string Prepare();
    std::string Run();

private:
    std::string BuildSimulator(const SimulationState* state);
    std::string WriteOutputs();
    std::string CheckFlow();

    const HeadlessOptions& options;
    ReportedMessages messages;
    StorageBinding binding;
    bool contextCreated = false;
    std::shared_ptr<LbmSimulator> simulator;
    SimulationState run;  // grid, solver, inflow and viscosity of this run
    int64_t step = 0;
    std::unique_ptr<StudyOutputs> outputs;
};

std::string HeadlessRun::Prepare()
{
    for (const std::string* output : {&options.dump, &options.vtk, &options.npy, &options.png, &options.saveState})
        if (!output->empty())
            if (std::string why = CheckOutputFolder(*output); !why.empty())
                return why;

    std::string failure;
    if (!AttachParameters(L"config", binding, &failure))
        return failure;

    // The saved run's parameters replace those of "config"; a --set given
    // beside them is the user's last word.
    SimulationState state;
    if (!options.state.empty()) {
        if (std::string why = LoadStateFile(options.state, state); !why.empty())
            return "cannot continue \"" + options.state + "\": " + why;
        // Past that count the run's own saved states could not be read again.
        if (state.step > kMaxRunSteps - options.steps)
            return "cannot continue \"" + options.state + "\" by " + std::to_string(options.steps) +
                   " steps: its step count " + std::to_string(state.step) + " would go beyond " +
                   std::to_string(kMaxRunSteps);
        for (const auto& [variable, value] : StateParameters(state))
            SetParameter(binding, variable->GetVariableName(), value, 4);
    }
    for (const ParameterAssignment& a : options.assignments)
        SetParameter(binding, a.variable->GetVariableName(), a.bytes, sizeof a.bytes);

    std::vector<Obstacle> added;
    if (!options.obstacles.empty())
        if (std::string why = LoadObstacleFile(options.obstacles, added); !why.empty())
            return "cannot add the obstacles of \"" + options.obstacles + "\": " + why;

    if (std::string why = BuildSimulator(options.state.empty() ? nullptr : &state); !why.empty())
        return why;
    if (options.preset == Preset::Poiseuille)
        simulator->AddObstacles(PoiseuilleWalls(run.width, run.height));
    simulator->AddObstacles(added);
    // A saved state that could not hold the run's obstacles is better known
    // now than at the first save.
    if (!options.saveState.empty()) {
        const std::vector<Obstacle> all(simulator->Obstacles().begin(), simulator->Obstacles().end());
        if (std::string why = UnstorableObstacles(all); !why.empty())
            return "cannot write \"" + options.saveState + "\": " + why;
    }
    return {};
}

std::string HeadlessRun::BuildSimulator(const SimulationState* state)
{
    run.simulationType = params::simulationType;
    run.width = params::gridWidth;
    run.height = params::gridHeight;
    run.flowVelX = params::flowVelX;
    run.flowVelY = params::flowVelY;
    run.invViscosity = params::invViscosity;
    if (state && (state->width != run.width || state->height != run.height))
        return "cannot continue \"" + options.state + "\": it holds a " + std::to_string(state->width) + " x " +
               std::to_string(state->height) + " grid, and --set asks for " + std::to_string(run.width) + " x " +
               std::to_string(run.height);

    const bool gpu = run.simulationType == 0;
    if (gpu || !options.png.empty()) {
        contextCreated = CreateHeadlessRenderContext();
        if (!contextCreated)
            return "no OpenGL drawing context can be created";
    }
    simulator = StartSimulator(run.simulationType, run.width, run.height, run.invViscosity, run.flowVelX,
                               run.flowVelY, CollisionFromIndex(params::collision));
    if (std::string why = messages.Failure("the simulation cannot run"); !why.empty())
        return why;
    // A picture that cannot be drawn is better known now than at the first
    // output, possibly hours into the run.
    if (!options.png.empty()) {
        std::string why;
        if (RenderFlowPicture(*simulator, run.width, run.height, options.pngScale,
                              ViewFromParameters(run.flowVelX, run.flowVelY), &why)
                .isNull())
            return "cannot draw the picture: " + why;
        if (why = messages.Failure("cannot draw the picture"); !why.empty())
            return why;
    }
    if (auto* g = dynamic_cast<GpuLbmSimulator*>(simulator.get()); g && !g->Usable())
        return "the GPU solver cannot run in this drawing context; choose the CPU solver "
               "(--set init|simulationType=CPU)";
    if (state) {
        if (!RestoreSimulation(*simulator, *state))
            return "cannot continue \"" + options.state + "\": the simulator refused its lattice";
        step = state->step;
    }
    return {};
}

std::string HeadlessRun::Run()
{
    const int64_t first = step, last = step + options.steps;
    outputs = std::make_unique<StudyOutputs>(OutputNames{options.dump, options.vtk, options.npy, options.png,
                                                         options.saveState, options.pngScale, DecimalDigits(last)});
    const double start = Now();
    ProgressReport progress(first, last, start);
    double nextCheck = start + kFlowCheckSeconds;
    const int64_t every = options.every;
    int64_t nextOutput = every > 0 ? (step / every + 1) * every : last + 1;
    int64_t chunk = 1;
    while (step < last) {
        const int64_t target = std::min({last, nextOutput, step + chunk});
        const double before = Now();
        simulator->Step(static_cast<int>(target - step));
        step = target;
        if (const int signal = TerminationSignalReceived()) {
            // The set being written lands whole; no outputs of this step.
            outputs->Close();
            return "stopped by signal " + std::to_string(signal) + " (" + strsignal(signal) + ") at step " +
                   std::to_string(step) + " of " + std::to_string(last) + "; the files written before are whole";
        }
        const double now = Now();
        // Chunks of a few hundredths of a second: few calls, yet timely
        // progress lines, checks and outputs.
        if (now - before < 0.02 && chunk < kMaxChunk)
            chunk *= 2;
        else if (now - before > 0.2 && chunk > 1)
            chunk /= 2;
        if (step == nextOutput) {
            nextOutput += every;
            // The last step's outputs are written once, after the loop.
            if (step < last) {
                if (std::string why = WriteOutputs(); !why.empty())
                    return why;
                // The outputs have just looked at the whole lattice.
                nextCheck = now + kFlowCheckSeconds;
            }
        }
        if (auto line = progress.At(step, now))
            PrintStatusLine(*line);
        if (now >= nextCheck) {
            if (std::string why = CheckFlow(); !why.empty())
                return why;
            nextCheck = now + kFlowCheckSeconds;
        }
    }
    if (std::string why = options.AnyOutput() ? WriteOutputs() : CheckFlow(); !why.empty())
        return why;
    if (std::string why = outputs->Close(); !why.empty())
        return why;
    if (std::string why = messages.Failure("the run is not to be trusted"); !why.empty())
        return why;
    const double seconds = Now() - start;
    if (options.steps > 0) {
        char rate[64];
        std::snprintf(rate, sizeof rate, "%.0f it/s", seconds > 0 ? static_cast<double>(options.steps) / seconds : 0.0);
        PrintStatusLine("done: " + std::to_string(options.steps) + " steps in " + FormatDuration(seconds) + " (" + rate +
                  ")");
    }
    return {};
}

std::string HeadlessRun::CheckFlow()
{
    // The window's check, a pass over the lattice where it lies.
    return BlownUpReason(*simulator, run.width, run.height, step);
}

std::string HeadlessRun::WriteOutputs()
{
    SimulationState now = run;
    now.step = step;
    return outputs->Write(*simulator, now, ViewFromParameters(run.flowVelX, run.flowVelY), messages);
}
}  // namespace

int RunHeadless(const HeadlessOptions& options)
{
    HeadlessRun run(options);
    std::string why = run.Prepare();
    if (why.empty())
        why = run.Run();
    if (why.empty())
        return kExitDone;
    PrintStatusLine(why);
    return kExitRunFailed;
}

int RunHeadlessProgram(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    HeadlessOptions options;
    std::string error;
    if (!ParseHeadlessOptions(QCoreApplication::arguments(), options, &error)) {
        PrintStatusLine(error);
        return kExitBadCommandLine;
    }
    NoteTerminationSignals();
    CoInitialize(nullptr);
    const int code = RunHeadless(options);
    CoUninitialize();
    return code;
}

int PrintHelpProgram(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    std::fputs(HeadlessHelp().c_str(), stdout);
    return kExitDone;
}
