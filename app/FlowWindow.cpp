#include "app/FlowWindow.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include <epoxy/gl.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QMenuBar>

#include "app/FlowMenu.h"
#include "app/FlowView.h"
#include "app/MenuCommands.h"
#include "platform/usermessages/MessageSink.h"
#include "app/ObstaclePicking.h"
#include "app/Parameters.h"
#include "app/Presets.h"
#include "app/SimulatorFactory.h"
#include "app/StatusStrip.h"
#include "app/VelocityDump.h"
#include "app/ViewParameters.h"
#include "platform/gl/RenderContext.h"

namespace {
constexpr int kMaxPanelWidth = 400;
}  // namespace

FlowWindow::FlowWindow(std::wstring configName) : configName(std::move(configName))
{
    client = new QWidget(this);
    setCentralWidget(client);
    client->installEventFilter(this);

    view = new FlowView;
    view->SetPressHandler([this](Qt::MouseButton button, int x, int y) {
        if (button == Qt::LeftButton)
            On_LButtonDown(x, y);
        else if (button == Qt::RightButton)
            On_RButtonDown(x, y);
    });
    view->SetHoverHandler([this](bool inside, int x, int y) {
        if (inside)
            On_MouseMove(x, y);
        else
            On_MouseLeave();
    });
    viewContainer = QWidget::createWindowContainer(view, client);
    statusStrip = new StatusStrip(client);

    BuildFlowMenu(menuBar(), [this](int id) { On_Command(id); });
    setWindowTitle(QStringLiteral("LBM fluid simulation"));
    resize(1024, 640);
}

FlowWindow::~FlowWindow()
{
    // A window destroyed without being closed still shuts down in order, so
    // that the drawing context does not outlive it.
    ShutDown();
}

bool FlowWindow::Create()
{
    std::string failure;
    if (!BindParameters(client, configName, binding, &failure)) {
        ShowMessage(nullptr, "Eddyra", failure);
        return false;
    }
    // The picture area becomes a native child first, so that the context is
    // made for the window it will stay in.
    viewContainer->winId();
    contextCreated = CreateRenderContext(view, kProfileUnknown, kProfileUnknown);
    // The drawing layer has already told the user what failed.
    if (!contextCreated)
        return false;
    UpdateLayout();
    ResetSimulation();
    return true;
}

void FlowWindow::UpdateLayout()
{
    const QRect r = client->rect();
    const int width = r.width();
    const int height = r.height();
    const int panel = width < kMaxPanelWidth ? width : kMaxPanelWidth;
    if (QWidget* editor = binding.editorWindow) {
        editor->setGeometry(r.right() + 1 - panel, r.top(), panel, height);
        editor->update();
    }
    viewWidth = width - panel;
    // The status strip takes the bottom of the left part; the picture area
    // is what lies above it, anchored at its own lower-left corner.
    const int strip = viewWidth > 0 ? std::min(height, statusStrip->FixedHeight()) : 0;
    viewHeight = height - strip;
    // A native window cannot be 0 pixels wide; an empty picture area is
    // hidden instead, and frames then go on without drawing.
    viewContainer->setGeometry(0, 0, std::max(viewWidth, 1), std::max(viewHeight, 1));
    viewContainer->setVisible(viewWidth > 0 && viewHeight > 0);
    statusStrip->setGeometry(0, viewHeight, std::max(viewWidth, 1), std::max(strip, 1));
    statusStrip->setVisible(strip > 0);
}

void FlowWindow::ResetSimulation()
{
    // The wrappers hold every value to its declared range, so the grid is
    // never empty or larger than the editor allows.
    const int32_t W = params::gridWidth;
    const int32_t H = params::gridHeight;
    const int32_t kind = params::simulationType;
    const float invViscosity = params::invViscosity;
    const float ux = params::flowVelX;
    const float uy = params::flowVelY;
    const CollisionModel collision = CollisionFromIndex(params::collision);
    // Built and started before it replaces the previous one.
    std::shared_ptr<LbmSimulator> next = StartSimulator(kind, W, H, invViscosity, ux, uy, collision);
    simulator = std::move(next);
    gridWidth = W;
    gridHeight = H;
    appliedInvViscosity = invViscosity;
    appliedCollision = collision;
    simulatorKind = kind;
    appliedFlowVelX = ux;
    appliedFlowVelY = uy;
    simulatedSteps = 0;
    RestartWatches();
}

void FlowWindow::RestartWatches()
{
    const uint32_t now = TickCount();
    rate.Restart(now);
    blowUpCheck.Restart(now);
    blownUp = false;
    // The new simulator may cost more per step than the old one.
    pacing = FramePacing{};
    // The strip shows the new simulation from its first step, not the last
    // one's numbers for up to a second.
    readout.Clear();
    RefreshStatus();
}

void FlowWindow::RefreshStatus()
{
    if (simulator)
        readout.Refresh(*simulator, RunParameters());
    statusStrip->SetFlowText(readout.FlowText());
    ShowCursorCell();
}

void FlowWindow::ShowCursorCell() { statusStrip->SetCellText(readout.CellText(cursor)); }

void FlowWindow::On_MouseMove(int x, int y)
{
    cursor = ClientToGrid(Geometry(), x, y);
    ShowCursorCell();
}

void FlowWindow::On_MouseLeave()
{
    cursor = GridPoint{};
    ShowCursorCell();
}

bool FlowWindow::OnIdle()
{
    if (!simulator || blownUp)
        return false;
    const auto start = std::chrono::steady_clock::now();
    const float invViscosity = params::invViscosity;
    if (!(invViscosity == appliedInvViscosity)) {
        appliedInvViscosity = invViscosity;
        simulator->SetViscosity(1.0f / invViscosity);
    }
    if (const CollisionModel collision = CollisionFromIndex(params::collision); collision != appliedCollision) {
        appliedCollision = collision;
        simulator->SetCollisionModel(collision);
    }
    // At the default settings this is the whole frame; a frame too long to
    // keep the window responsive is finished over the next passes.
    const int32_t steps = StepsForPass(pacing, params::updateRate);
    simulator->Step(steps);
    rate.Count(steps);
    stepsTaken += steps;
    simulatedSteps += steps;
    // Checked before the picture, so that the one on screen stays the last
    // drawn from a sound lattice.  The flag goes first: the box runs an
    // event loop of its own.
    if (blowUpCheck.Due(TickCount()) && simulator->BlownUp()) {
        blownUp = true;
        // The strip then counts the steps the message names.
        if (statusStrip->isVisible())
            RefreshStatus();
        ShowMessage(this, "Error", BlowUpMessage(simulatedSteps));
        return false;
    }

    // Drawing into a window that is hidden, minimised or not yet mapped is
    // wasted at best; the simulation advances all the same.
    if (FrameComplete(pacing) && contextCreated && view->isExposed())
        DrawFrame();
    // The picture's swap waits for the renderer, so the pass time holds what
    // the steps really cost, not just the time to queue them.
    RecordPassTime(pacing, steps, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());

    if (auto title = rate.TitleAt(TickCount())) {
        setWindowTitle(QString::fromStdString(*title));
        // A strip that is not shown is not worth a whole-lattice read-back.
        if (statusStrip->isVisible())
            RefreshStatus();
    }
    return true;
}

void FlowWindow::DrawFrame()
{
    const qreal ratio = view->devicePixelRatio();
    glViewport(0, 0, static_cast<GLsizei>(viewWidth * ratio), static_cast<GLsizei>(viewHeight * ratio));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, viewWidth, 0, viewHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    const float aspect = static_cast<float>(gridHeight) / static_cast<float>(gridWidth);
    const DrawRect rect{0.0f, static_cast<float>(viewWidth), 0.0f, static_cast<float>(viewWidth) * aspect};
    RenderView(*simulator, CurrentView(), rect);
    PresentFrame();
    ++framesDrawn;
}

SimulationState FlowWindow::RunParameters() const
{
    SimulationState run;
    run.width = gridWidth;
    run.height = gridHeight;
    run.step = simulatedSteps;
    run.simulationType = simulatorKind;
    run.flowVelX = appliedFlowVelX;
    run.flowVelY = appliedFlowVelY;
    run.invViscosity = appliedInvViscosity;
    return run;
}

ViewSettings FlowWindow::CurrentView() const { return ViewFromParameters(appliedFlowVelX, appliedFlowVelY); }

void FlowWindow::On_Command(int commandId)
{
    switch (commandId) {
    case ID_SIMULATION_RESET:
    case ID_PRESETS_VORTEXSTREET:
        ResetSimulation();
        break;
    case ID_SIMULATION_RESETKEEPOBSTACLES:
        ResetKeepingObstacles();
        break;
    case ID_SIMULATION_CLEAROBSTACLES:
        if (simulator)
            simulator->ClearObstacles();
        break;
    case ID_SIMULATION_RESETFLOW:
        if (simulator) {
            simulator->ResetFlow(params::flowVelX, params::flowVelY);
            // A uniform flow again: a blown-up one runs once more.
            if (blownUp)
                RestartWatches();
        }
        break;
    case ID_DUMP_VELOCITY:
        DumpVelocity();
        break;
    case ID_PRESETS_POISEUILLEFLOW:
        LoadPoiseuillePreset();
        break;
    case ID_DUMP_PICTURE:
        DumpPicture();
        break;
    case ID_SIMULATION_LOADOBSTACLES:
    case ID_SIMULATION_SAVEOBSTACLES:
    case ID_SIMULATION_LOADSTATE:
    case ID_DUMP_SAVESTATE:
        FileCommand(commandId);
        break;
    default:
        break;
    }
}

void FlowWindow::ResetKeepingObstacles()
{
    std::vector<Obstacle> kept;
    if (simulator)
        kept.assign(simulator->Obstacles().begin(), simulator->Obstacles().end());
    ResetSimulation();
    for (const Obstacle& obstacle : kept)
        simulator->AddObstacle(obstacle);
}

void FlowWindow::LoadPoiseuillePreset()
{
    ResetSimulation();
    for (const Obstacle& wall : PoiseuilleWalls(gridWidth, gridHeight))
        simulator->AddObstacle(wall);
}

void FlowWindow::DumpVelocity()
{
    if (!simulator)
        return;
    const VelocityDumpResult result = WriteVelocityDump(*simulator, gridWidth, gridHeight);
    switch (result.status) {
    case VelocityDumpStatus::FetchFailed:
        ShowMessage(this, "Error", "FetchGridState returned false!");
        break;
    case VelocityDumpStatus::WriteFailed:
        ShowMessage(this, "Error", "The file \"" + result.fileName + "\" could not be written: " + result.error);
        break;
    case VelocityDumpStatus::Written:
        ShowMessage(this, "Success", "Ready!");
        break;
    }
}

void FlowWindow::On_LButtonDown(int x, int y)
{
    if (!simulator)
        return;
    const GridPoint p = ClientToGrid(Geometry(), x, y);
    if (!p.inside)
        return;
    simulator->AddObstacle(ObstacleCentredOn(p.gx, p.gy, params::obstacleWidth, params::obstacleHeight,
                                             params::obstacleShape));
}

void FlowWindow::On_RButtonDown(int x, int y)
{
    if (!simulator)
        return;
    const GridPoint p = ClientToGrid(Geometry(), x, y);
    if (!p.inside)
        return;
    const auto hit = FirstObstacleHit(simulator->Obstacles(), p.gx, p.gy);
    if (hit != simulator->Obstacles().cend())
        simulator->RemoveObstacle(hit);
}

void FlowWindow::On_Destroy()
{
    if (destroyed)
        return;
    ShutDown();
    QCoreApplication::exit(0);
}

void FlowWindow::ShutDown()
{
    if (destroyed)
        return;
    destroyed = true;
    // GL objects of the solver go while their context is still current.
    simulator.reset();
    std::string failure;
    if (!SaveParameters(configName, binding, &failure))
        ShowMessage(this, "Error", failure);
    if (contextCreated) {
        DestroyRenderContext();
        contextCreated = false;
    }
}

void FlowWindow::closeEvent(QCloseEvent* event)
{
    On_Destroy();
    event->accept();
}

bool FlowWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client && event->type() == QEvent::Resize)
        UpdateLayout();
    return QMainWindow::eventFilter(watched, event);
}
