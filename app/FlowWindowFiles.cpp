// The main window's commands for the files of studies: the picture, the
// obstacle list and saved states.
#include "app/FlowWindow.h"

#include <vector>

#include "app/FileChooser.h"
#include "app/FlowPicture.h"
#include "app/MenuCommands.h"
#include "platform/usermessages/MessageSink.h"
#include "app/ObstacleFiles.h"
#include "app/Parameters.h"
#include "app/SimulatorFactory.h"
#include "app/StateFiles.h"
#include "app/TextFormat.h"
#include "sim/Checkpoint.h"

namespace {
const char* const kObstacleFilter = "Obstacle files (*.txt)";
const char* const kStateFilter = "Saved states (*.state)";

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }
}  // namespace

void FlowWindow::FileCommand(int commandId)
{
    struct Command {
        int id;
        FileChoice choice;
        const char* title;
        const char* filter;
        const char* suffix;
        void (FlowWindow::*run)(const std::string& path);
    };
    static const Command kCommands[] = {
        {ID_SIMULATION_LOADOBSTACLES, FileChoice::Open, "Load obstacles", kObstacleFilter, "txt",
         &FlowWindow::LoadObstaclesFrom},
        {ID_SIMULATION_SAVEOBSTACLES, FileChoice::Save, "Save obstacles", kObstacleFilter, "txt",
         &FlowWindow::SaveObstaclesTo},
        {ID_SIMULATION_LOADSTATE, FileChoice::Open, "Load state", kStateFilter, "state", &FlowWindow::LoadStateFrom},
        {ID_DUMP_SAVESTATE, FileChoice::Save, "Save state", kStateFilter, "state", &FlowWindow::SaveStateTo},
    };
    if (!simulator)
        return;
    for (const Command& c : kCommands) {
        if (c.id != commandId)
            continue;
        // An empty answer: the user cancelled.
        if (const std::string path = ChooseFile(this, c.choice, c.title, c.filter, c.suffix); !path.empty())
            (this->*c.run)(path);
        return;
    }
}

void FlowWindow::DumpPicture()
{
    if (!simulator)
        return;
    // Named like the velocity dump, in the working folder, replaced by the
    // next picture of the same grid size.
    const std::string name = (TextFormat("picture_{0}x{1}.png") % gridWidth % gridHeight).str();
    const std::string why = WriteFlowPicture(name, *simulator, gridWidth, gridHeight, 1, CurrentView());
    if (why.empty())
        ShowMessage(this, "Success", "Ready! The picture is " + Quoted(name) + " in the working folder.");
    else
        ShowMessage(this, "Error", "The picture " + Quoted(name) + " could not be written: " + why);
}

void FlowWindow::LoadObstaclesFrom(const std::string& path)
{
    if (!simulator)
        return;
    std::vector<Obstacle> added;
    if (const std::string why = LoadObstacleFile(path, added); !why.empty()) {
        ShowMessage(this, "Error", "No obstacle was added from " + Quoted(path) + ": " + why);
        return;
    }
    simulator->AddObstacles(added);
}

void FlowWindow::SaveObstaclesTo(const std::string& path)
{
    if (!simulator)
        return;
    const std::vector<Obstacle> list(simulator->Obstacles().begin(), simulator->Obstacles().end());
    if (const std::string why = SaveObstacleFile(path, list); !why.empty())
        ShowMessage(this, "Error", "The obstacles could not be saved into " + Quoted(path) + ": " + why);
}

void FlowWindow::SaveStateTo(const std::string& path)
{
    if (!simulator)
        return;
    SimulationState state = RunParameters();
    if (!CaptureSimulation(*simulator, state)) {
        ShowMessage(this, "Error", "FetchGridState returned false!");
        return;
    }
    // By the same test as the blow-up watch: a state of a flow that has
    // blown up, even to large finite values, would only blow up again.
    if (const size_t n = FirstBlownUpCell(state.cells); n < state.cells.size()) {
        ShowMessage(this, "Error",
                    "The flow has blown up (cell (" + std::to_string(n % static_cast<size_t>(gridWidth)) + ", " +
                        std::to_string(n / static_cast<size_t>(gridWidth)) +
                        ") is not a finite number or far beyond any flow); its state is not saved.");
        return;
    }
    if (const std::string why = SaveStateFile(path, state); !why.empty())
        ShowMessage(this, "Error", "The state could not be saved into " + Quoted(path) + ": " + why);
}

void FlowWindow::LoadStateFrom(const std::string& path)
{
    if (!simulator)
        return;
    SimulationState state;
    if (const std::string why = LoadStateFile(path, state); !why.empty()) {
        ShowMessage(this, "Error", "The state " + Quoted(path) + " cannot be loaded: " + why);
        return;
    }
    if (state.width != gridWidth || state.height != gridHeight) {
        ShowMessage(this, "Error",
                    "The state " + Quoted(path) + " holds a " + std::to_string(state.width) + " x " +
                        std::to_string(state.height) + " grid, and the simulation runs on " +
                        std::to_string(gridWidth) + " x " + std::to_string(gridHeight) +
                        ". Set init|gridWidth and init|gridHeight to the state's size and reset first.");
        return;
    }
    // A new simulator of the running kind takes the state; the running one
    // goes only when that has worked.
    const CollisionModel collision = CollisionFromIndex(params::collision);
    std::shared_ptr<LbmSimulator> next = StartSimulator(simulatorKind, gridWidth, gridHeight, state.invViscosity,
                                                        state.flowVelX, state.flowVelY, collision);
    if (!RestoreSimulation(*next, state)) {
        ShowMessage(this, "Error", "The state " + Quoted(path) + " cannot be loaded: the simulator refused its lattice.");
        return;
    }
    simulator = std::move(next);
    appliedInvViscosity = state.invViscosity;
    appliedCollision = collision;
    appliedFlowVelX = state.flowVelX;
    appliedFlowVelY = state.flowVelY;
    simulatedSteps = state.step;
    // The run goes on with the state's viscosity and inflow: the parameters
    // take them the road of an edit, so the editor, the next frame and the
    // next reset agree with the flow.
    SetParameter(binding, params::invViscosity.GetVariableName(), &state.invViscosity, sizeof state.invViscosity);
    SetParameter(binding, params::flowVelX.GetVariableName(), &state.flowVelX, sizeof state.flowVelX);
    SetParameter(binding, params::flowVelY.GetVariableName(), &state.flowVelY, sizeof state.flowVelY);
    RestartWatches();
}
