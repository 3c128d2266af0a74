// The main window: the flow picture on the left above a status strip, the
// parameter editor of the storage component on the right (at most 400
// pixels), the menu, the mouse, and the frame performed whenever the event
// queue is empty.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QMainWindow>

#include "app/BlowUpCheck.h"
#include "app/ClientToGrid.h"
#include "app/FlowReadout.h"
#include "app/FramePacing.h"
#include "app/IterationRate.h"
#include "app/StorageBinding.h"
#include "sim/LbmSimulator.h"
#include "sim/ViewModes.h"

class FlowView;
class StatusStrip;

class FlowWindow : public QMainWindow {
public:
    // configName: the data folder of the saved parameters, relative to the
    // working folder.
    explicit FlowWindow(std::wstring configName);
    ~FlowWindow() override;

    // Window creation: binds the parameters, creates the drawing context,
    // lays out the panel and builds the first simulator.  False when the
    // storage component or the drawing context is missing; the user has been
    // told, and the caller ends the program after On_Destroy.
    bool Create();
    // One frame, or the next part of one too long for a single pass; false
    // while there is no simulator or its flow has blown up.
    bool OnIdle();
    // A new simulator from the current init parameters.
    void ResetSimulation();
    // Places the editor panel and the picture area in the client area.
    void UpdateLayout();

    void On_Command(int commandId);
    // The file commands of the menu, after their dialogs (FlowWindowFiles.cpp).
    // Each reports its failure in a message and then leaves the simulation
    // as it was.
    void DumpPicture();
    void LoadObstaclesFrom(const std::string& path);
    void SaveObstaclesTo(const std::string& path);
    void LoadStateFrom(const std::string& path);
    void SaveStateTo(const std::string& path);
    void On_LButtonDown(int x, int y);
    void On_RButtonDown(int x, int y);
    // The pointer over the picture area at (x, y), or gone from it.
    void On_MouseMove(int x, int y);
    void On_MouseLeave();
    // Shut-down: simulator, saved parameters, drawing context, then the
    // event loop ends with 0.  Runs once.
    void On_Destroy();

    LbmSimulator* Simulator() const { return simulator.get(); }
    ViewGeometry Geometry() const { return {viewWidth, viewHeight, gridWidth, gridHeight}; }
    FlowView* View() const { return view; }
    QWidget* ClientArea() const { return client; }
    StatusStrip* Strip() const { return statusStrip; }
    QWidget* EditorWindow() const { return binding.editorWindow; }
    bool Storage() const { return static_cast<bool>(binding.storage); }
    // Totals since creation, for tests and benchmarks.
    int64_t FramesDrawn() const { return framesDrawn; }
    int64_t StepsTaken() const { return stepsTaken; }
    // Time steps of the current simulation since its reset, or since the
    // start of the run its loaded state comes from.
    int64_t SimulatedSteps() const { return simulatedSteps; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The shut-down steps without ending the event loop.
    void ShutDown();
    void DumpVelocity();
    void ResetKeepingObstacles();
    void LoadPoiseuillePreset();
    void DrawFrame();
    // After a reset, or a loaded state: the simulation runs and is watched
    // from now on.
    void RestartWatches();
    // What the view parameters ask for, against this simulation's inflow.
    ViewSettings CurrentView() const;
    // The current simulation's grid, solver, inflow, viscosity and step,
    // without its lattice.
    SimulationState RunParameters() const;
    // Asks for the file of a file command, then runs it.
    void FileCommand(int commandId);
    // Reads the flow's numbers afresh into the status strip.
    void RefreshStatus();
    void ShowCursorCell();

    QWidget* client = nullptr;         // the client area below the menu
    FlowView* view = nullptr;          // owned by its container
    QWidget* viewContainer = nullptr;  // the native picture area
    StatusStrip* statusStrip = nullptr;
    FlowReadout readout;
    GridPoint cursor;  // the cell under the pointer; not inside when none
    int32_t viewWidth = 0;
    int32_t viewHeight = 0;
    int32_t gridWidth = 0;
    int32_t gridHeight = 0;
    float appliedInvViscosity = 0.0f;
    CollisionModel appliedCollision = CollisionModel::Bgk;
    std::shared_ptr<LbmSimulator> simulator;
    IterationRate rate;
    BlowUpCheck blowUpCheck;
    // Set when the flow has blown up: no more steps, and the last picture
    // stays, until a reset brings a sound lattice.
    bool blownUp = false;
    FramePacing pacing;
    StorageBinding binding;
    std::wstring configName;
    bool contextCreated = false;
    bool destroyed = false;
    int64_t framesDrawn = 0;
    int64_t stepsTaken = 0;
    // What the current simulator was started with, for its saved state.
    int32_t simulatorKind = 0;
    float appliedFlowVelX = 0.0f;
    float appliedFlowVelY = 0.0f;
    int64_t simulatedSteps = 0;
};
