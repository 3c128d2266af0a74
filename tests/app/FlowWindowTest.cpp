// The main window in process, with the real storage component created
// through a registry of the test's own and the real drawing context.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QScreen>
#include <QSet>
#include <QWindow>
#include <QtTest>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/FileChooser.h"
#include "app/FlowView.h"
#include "app/FlowWindow.h"
#include "app/GlobalVariableList.h"
#include "app/IdleLoop.h"
#include "app/MenuCommands.h"
#include "platform/usermessages/MessageSink.h"
#include "app/Parameters.h"
#include "app/SetVariableFromStorage.h"
#include "app/StatusStrip.h"
#include "app/VelocityDump.h"
#include "platform/com/Com.h"
#include "platform/gl/HeadlessRenderContext.h"
#include "platform/gl/RenderContext.h"
#include "sim/Checkpoint.h"
#include "sim/CpuLbmSimulator.h"

namespace {
struct Message {
    std::string caption;
    std::string text;
};

const char* const kDataFile = "config/{551F6B37-A5BC-4746-8E1F-C66F877F5022}";

template <class T>
void Assign(GlobalVariable& v, T value)
{
    v.AssignValue(&value, sizeof value);
}

void RestoreDefaults()
{
    Assign(params::simulationType, int32_t{0});
    Assign(params::gridWidth, int32_t{512});
    Assign(params::gridHeight, int32_t{256});
    Assign(params::flowVelX, 0.1f);
    Assign(params::flowVelY, 0.0f);
    Assign(params::invViscosity, 20.0f);
    Assign(params::brightness, 1.0f);
    Assign(params::updateRate, int32_t{10});
    Assign(params::obstacleWidth, int32_t{20});
    Assign(params::obstacleHeight, int32_t{20});
    Assign(params::obstacleShape, int32_t{1});
    Assign(params::viewMode, int32_t{0});
    Assign(params::collision, int32_t{0});
}

// The records of a data file: name and value bytes.
std::vector<std::pair<std::string, QByteArray>> ReadDataFile(const QString& path)
{
    std::vector<std::pair<std::string, QByteArray>> records;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return records;
    const QByteArray data = file.readAll();
    qsizetype at = 0;
    while (at < data.size()) {
        const qsizetype zero = data.indexOf('\0', at);
        if (zero < 0 || zero + 4 > data.size())
            break;
        std::string name(data.constData() + at, static_cast<size_t>(zero - at));
        uint32_t length;
        std::memcpy(&length, data.constData() + zero + 1, 4);
        records.emplace_back(name, data.mid(zero + 5, length));
        at = zero + 5 + length;
    }
    return records;
}

void WriteRecord(QByteArray& out, const char* name, const void* bytes, uint32_t length)
{
    out.append(name, static_cast<qsizetype>(std::strlen(name) + 1));
    out.append(reinterpret_cast<const char*>(&length), 4);
    out.append(static_cast<const char*>(bytes), length);
}

bool SameObstacle(const Obstacle& a, const Obstacle& b)
{
    return a.isEllipse == b.isEllipse && a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
// One row per solver: "solver" as init|simulationType takes it.
void SolverRows()
{
    QTest::addColumn<int>("solver");
    QTest::newRow("GPU") << 0;
    QTest::newRow("CPU") << 1;
}

}  // namespace

class FlowWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir root;
    QString registry;
    QString work;
    std::vector<Message> messages;
    std::unique_ptr<FlowWindow> window;
    std::unique_ptr<IdleLoop> loop;
    std::string chosenFile;  // what the file dialogs answer; empty: cancelled

    // Creates, shows and starts the frame loop; the window's client area is
    // clientWidth wide and viewHeight high above the status strip, so that
    // the view geometry is known.
    void Start(int clientWidth = 912, int viewHeight = 256)
    {
        window = std::make_unique<FlowWindow>(L"config");
        QVERIFY(window->Create());
        const int clientHeight = viewHeight + window->Strip()->FixedHeight();
        window->resize(clientWidth, clientHeight + window->menuBar()->sizeHint().height());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_COMPARE(window->ClientArea()->width(), clientWidth);
        QTRY_COMPARE(window->ClientArea()->height(), clientHeight);
        loop = std::make_unique<IdleLoop>([this] { return window && window->OnIdle(); });
    }

    void Stop()
    {
        loop.reset();
        if (window) {
            window->close();
            window.reset();
        }
    }

    void Command(int id)
    {
        for (QAction* action : window->menuBar()->findChildren<QAction*>()) {
            if (action->data().toInt() == id) {
                action->trigger();
                return;
            }
        }
        QFAIL(qPrintable(QString("no menu entry for %1").arg(id)));
    }

    std::vector<Obstacle> Obstacles() const
    {
        const auto& list = window->Simulator()->Obstacles();
        return {list.begin(), list.end()};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root.isValid());
        registry = root.filePath("registry");
        work = root.filePath("work");
        QVERIFY(QDir().mkpath(work));
        qputenv("COMREGISTRY_DIR", registry.toUtf8());
        QProcess reg;
        reg.start(COMREG_PATH, {QUILLET_PATH});
        QVERIFY(reg.waitForFinished(30000));
        QCOMPARE(reg.exitCode(), 0);
        QVERIFY(QFile::link(EDDYRA_CG_DIR, work + "/cg"));
        QVERIFY(QDir::setCurrent(work));
        CoInitialize(nullptr);
        SetMessageSink([this](QWidget*, const std::string& caption, const std::string& text) {
            messages.push_back({caption, text});
        });
        SetFileChooser([this](QWidget*, FileChoice, const std::string&, const std::string&, const std::string&) {
            return chosenFile;
        });
    }

    void init()
    {
        messages.clear();
        RestoreDefaults();
        QDir(work + "/config").removeRecursively();
    }

    void cleanup() { Stop(); }

    void cleanupTestCase() { CoUninitialize(); }

    void menuHasTheEntriesInOrderWithTheirIds()
    {
        FlowWindow w(L"config");
        QStringList seen;
        for (QAction* top : w.menuBar()->actions()) {
            seen << top->text();
            for (QAction* entry : top->menu()->actions())
                seen << QString("%1=%2").arg(entry->text()).arg(entry->data().toInt());
        }
        // The first entries keep their order and ids; the files of studies
        // follow them with ids of their own.
        const QStringList expected = {"Simulation",          "Reset=40003",
                                      "Reset (keep obstacles)=40011", "Clear Obstacles=40008",
                                      "Reset Flow=40009",    QString::fromUtf8("Load obstacles\u2026=40019"),
                                      QString::fromUtf8("Save obstacles\u2026=40020"),
                                      QString::fromUtf8("Load state\u2026=40021"), "Dump",
                                      "Velocity=40012",      "Picture=40022",
                                      QString::fromUtf8("Save state\u2026=40023"), "Presets",
                                      "Poiseuille flow=40014", "Vortex street=40018"};
        QCOMPARE(seen, expected);
        QCOMPARE(w.windowTitle(), QString("LBM fluid simulation"));
    }

    void titleShowsTheRateAndFramesAreDrawn()
    {
        Start();
        QVERIFY(window->Storage());
        QVERIFY(window->EditorWindow() != nullptr);
        QCOMPARE(window->windowTitle(), QString("LBM fluid simulation"));
        QTRY_VERIFY_WITH_TIMEOUT(window->windowTitle().startsWith("Eddyra -- "), 30000);
        QVERIFY(QRegularExpression("^Eddyra -- [0-9.e+]+ ips$").match(window->windowTitle()).hasMatch());
        QVERIFY(window->FramesDrawn() > 0);
        QVERIFY(window->StepsTaken() >= 10 * window->FramesDrawn());
        QVERIFY(messages.empty());
    }

    void layoutGivesTheEditorAtMost400Pixels()
    {
        Start(912, 256);
        const ViewGeometry g = window->Geometry();
        QCOMPARE(g.viewWidth, 512);
        QCOMPARE(g.viewHeight, 256);
        QCOMPARE(g.gridWidth, 512);
        QCOMPARE(g.gridHeight, 256);
        const int strip = window->Strip()->FixedHeight();
        QCOMPARE(window->EditorWindow()->geometry(), QRect(512, 0, 400, 256 + strip));
        QCOMPARE(window->Strip()->geometry(), QRect(0, 256, 512, strip));

        // Narrower than 400: the editor takes everything, frames go on.
        window->resize(300, window->height());
        QTRY_COMPARE(window->Geometry().viewWidth, 0);
        QCOMPARE(window->EditorWindow()->geometry(), QRect(0, 0, 300, 256 + strip));
        QVERIFY(!window->Strip()->isVisible());
        QTRY_VERIFY(!window->View()->isExposed());
        const int64_t steps = window->StepsTaken();
        const int64_t frames = window->FramesDrawn();
        QTRY_VERIFY(window->StepsTaken() > steps + 100);
        // Nothing is drawn into a picture area that is not on screen.
        QCOMPARE(window->FramesDrawn(), frames);

        window->showMinimized();
        const int64_t stepsMinimised = window->StepsTaken();
        QTRY_VERIFY(window->StepsTaken() > stepsMinimised + 100);
        QVERIFY(messages.empty());
    }

    void statusStripShowsTheNumbersAndTheCellUnderThePointer()
    {
        Start(912, 256);
        auto startsWith = [](const std::string& text, const char* head) { return text.rfind(head, 0) == 0; };
        QVERIFY2(startsWith(window->Strip()->FlowText(), "Step 0 "), window->Strip()->FlowText().c_str());
        window->On_LButtonDown(100, 128);  // a disc 20 cells across: Re = 0.1 * 20 * 20
        QTRY_VERIFY_WITH_TIMEOUT(!startsWith(window->Strip()->FlowText(), "Step 0 "), 30000);
        const std::string flow = window->Strip()->FlowText();
        QVERIFY2(flow.find("Re 40.0 (L 20)") != std::string::npos, flow.c_str());
        const size_t cd = flow.find("(Cd ");
        QVERIFY2(cd != std::string::npos && std::atof(flow.c_str() + cd + 4) > 0.0, flow.c_str());

        QVERIFY(window->Strip()->CellText().empty());
        QTest::mouseMove(window->View(), QPoint(300, 55));
        QVERIFY2(startsWith(window->Strip()->CellText(), "Cell (300, 201):"), window->Strip()->CellText().c_str());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(window->View(), &leave);
        QVERIFY(window->Strip()->CellText().empty());

        // A reset shows the new simulation at once: no obstacle, so the
        // grid's height is the length.
        Command(ID_SIMULATION_RESET);
        QVERIFY(startsWith(window->Strip()->FlowText(), "Step 0 "));
        QVERIFY(window->Strip()->FlowText().find("Re 512.0 (L 256)") != std::string::npos);
        QVERIFY(messages.empty());
    }

    void leftClickAddsAndRightClickRemoves()
    {
        Start(912, 256);
        QWindow* view = window->View();
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 55));
        QCOMPARE(Obstacles().size(), size_t{1});
        QVERIFY(SameObstacle(Obstacles()[0], Obstacle{1, 90, 191, 20, 20}));

        Assign(params::obstacleShape, int32_t{0});
        Assign(params::obstacleWidth, int32_t{21});
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(10, 246));  // cell (10, 10)
        QCOMPARE(Obstacles().size(), size_t{2});
        QVERIFY(SameObstacle(Obstacles()[1], Obstacle{0, 0, 0, 21, 20}));

        // The column just right of the first one's last column still hits it;
        // two further columns do not.
        QTest::mouseClick(view, Qt::RightButton, {}, QPoint(113, 55));
        QTest::mouseClick(view, Qt::RightButton, {}, QPoint(300, 55));
        QCOMPARE(Obstacles().size(), size_t{2});
        QTest::mouseClick(view, Qt::RightButton, {}, QPoint(110, 55));
        QCOMPARE(Obstacles().size(), size_t{1});
        QVERIFY(SameObstacle(Obstacles()[0], Obstacle{0, 0, 0, 21, 20}));

        // Dragging adds nothing.
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(200, 100));
        QTest::mouseMove(view, QPoint(250, 120));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(250, 120));
        QCOMPARE(Obstacles().size(), size_t{2});
    }

    void screenshotShowsTheFlowAroundObstacles_data()
    {
        QTest::addColumn<int>("solver");
        QTest::addColumn<int>("mode");
        QTest::newRow("GPU") << 0 << 0;
        QTest::newRow("CPU") << 1 << 0;
        QTest::newRow("GPU vorticity") << 0 << 1;
        QTest::newRow("CPU speed") << 1 << 2;
        QTest::newRow("GPU density") << 0 << 3;
    }

    void screenshotShowsTheFlowAroundObstacles()
    {
        QFETCH(int, solver);
        QFETCH(int, mode);
        Assign(params::simulationType, int32_t{solver});
        Assign(params::viewMode, int32_t{mode});
        Start(912, 256);
        window->On_LButtonDown(100, 128);
        Assign(params::obstacleShape, int32_t{0});
        window->On_LButtonDown(250, 60);
        const int64_t steps = window->StepsTaken();
        QTRY_VERIFY_WITH_TIMEOUT(window->StepsTaken() > steps + 700, 60000);
        // The screen, not the widget: a widget grab leaves the native GL area blank.
        const QPoint origin = window->View()->mapToGlobal(QPoint(0, 0));
        const QImage shot = window->screen()->grabWindow(0).toImage();
        if (const QByteArray path = qgetenv("EDDYRA_SCREENSHOT"); !path.isEmpty())
            shot.save(QString::fromUtf8(path).replace(
                ".png", QString(solver ? "-cpu" : "-gpu") + (mode ? "-" + QString(params::viewMode.Label(mode)).toLower() : "") +
                            ".png"));
        const QImage picture = shot.copy(origin.x(), origin.y(), 512, 256);
        // The first obstacle, centred on pixel (100, 128): grey in the scalar
        // views only.
        QCOMPARE((picture.pixel(100, 128) & 0xFFFFFF) == 0x808080, mode != 0);
        QSet<QRgb> colours;
        int black = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb c = picture.pixel(x, y) & 0xFFFFFF;
                colours.insert(c);
                black += c == 0;
            }
        }
        // The wake behind the obstacles spreads the velocities into many hues.
        QVERIFY2(colours.size() > 50, qPrintable(QString("%1 colours").arg(colours.size())));
        QVERIFY2(black < picture.width() * picture.height() / 10, qPrintable(QString("%1 black pixels").arg(black)));
    }

    void aFlowThatBlowsUpStopsWithOneMessageUntilReset_data()
    {
        SolverRows();
    }

    void aFlowThatBlowsUpStopsWithOneMessageUntilReset()
    {
        QFETCH(int, solver);
        Assign(params::simulationType, int32_t{solver});
        Assign(params::gridWidth, int32_t{128});
        Assign(params::gridHeight, int32_t{64});
        Assign(params::flowVelX, 0.2f);
        Assign(params::flowVelY, 0.2f);
        Assign(params::invViscosity, 5000.0f);
        Start(912, 256);
        window->Simulator()->AddObstacle({0, 40, 10, 4, 44});
        QTRY_VERIFY_WITH_TIMEOUT(!messages.empty(), 60000);
        QCOMPARE(messages.size(), size_t{1});
        QCOMPARE(messages[0].caption, std::string("Error"));
        const std::string& text = messages[0].text;
        QVERIFY2(text.find("blown up: by step " + std::to_string(window->SimulatedSteps()) + " ") != std::string::npos,
                 text.c_str());
        for (const char* advice : {"flowVelX", "runtime|invViscosity", "runtime|collision = Smagorinsky", "Reset"})
            QVERIFY2(text.find(advice) != std::string::npos, advice);

        // Stopped: no steps, no pictures over the last one, no second box.
        const int64_t steps = window->StepsTaken();
        const int64_t frames = window->FramesDrawn();
        QTest::qWait(1500);
        QCOMPARE(window->StepsTaken(), steps);
        QCOMPARE(window->FramesDrawn(), frames);
        QCOMPARE(messages.size(), size_t{1});

        // The stabilised collision, taken up at the next frame, and a uniform
        // flow again: it runs and stays finite where BGK did not.
        Assign(params::collision, int32_t{1});
        Command(ID_SIMULATION_RESETFLOW);
        // A menu the user chooses arrives with input events, which wake the
        // idle loop; the command triggered here comes without them.
        QCoreApplication::postEvent(window.get(), new QEvent(QEvent::User));
        QTRY_VERIFY_WITH_TIMEOUT(window->SimulatedSteps() > steps + 3000, 60000);
        QCOMPARE(window->Simulator()->Collision(), CollisionModel::Smagorinsky);
        QVERIFY(!window->Simulator()->BlownUp());
        QCOMPARE(messages.size(), size_t{1});
    }

    void doubleClickAddsOneObstacle()
    {
        Start(912, 256);
        QTest::mouseDClick(window->View(), Qt::LeftButton, {}, QPoint(300, 100));
        QCOMPARE(Obstacles().size(), size_t{1});
        QTest::qWait(600);
        QTest::mouseDClick(window->View(), Qt::RightButton, {}, QPoint(300, 100));
        QCOMPARE(Obstacles().size(), size_t{0});
    }

    void clicksAboveThePictureOrInAnEmptyViewAreIgnored()
    {
        Start(912, 400);  // the picture is 256 pixels high: 144 rows of nothing above
        QTest::mouseClick(window->View(), Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(Obstacles().size(), size_t{0});
        QTest::mouseClick(window->View(), Qt::LeftButton, {}, QPoint(100, 200));
        QCOMPARE(Obstacles().size(), size_t{1});
        window->resize(380, window->height());
        QTRY_COMPARE(window->Geometry().viewWidth, 0);
        window->On_LButtonDown(0, 399);
        window->On_RButtonDown(0, 399);
        QCOMPARE(Obstacles().size(), size_t{1});
    }

    void menuCommandsRebuildOrKeepTheSimulator()
    {
        Start(912, 256);
        LbmSimulator* first = window->Simulator();
        window->On_LButtonDown(100, 55);
        window->On_LButtonDown(300, 100);
        const std::vector<Obstacle> before = Obstacles();

        Command(ID_SIMULATION_RESETKEEPOBSTACLES);
        QVERIFY(window->Simulator() != first);
        QCOMPARE(Obstacles().size(), size_t{2});
        QVERIFY(SameObstacle(Obstacles()[0], before[0]) && SameObstacle(Obstacles()[1], before[1]));

        LbmSimulator* second = window->Simulator();
        Command(ID_SIMULATION_CLEAROBSTACLES);
        QCOMPARE(window->Simulator(), second);
        QVERIFY(Obstacles().empty());

        Command(ID_PRESETS_POISEUILLEFLOW);
        QCOMPARE(Obstacles().size(), size_t{2});
        QVERIFY(SameObstacle(Obstacles()[0], Obstacle{0, 0, 1, 512, 1}));
        QVERIFY(SameObstacle(Obstacles()[1], Obstacle{0, 0, 254, 512, 1}));

        Command(ID_PRESETS_VORTEXSTREET);
        QVERIFY(Obstacles().empty());
        window->On_LButtonDown(100, 55);
        Command(ID_SIMULATION_RESET);
        QVERIFY(Obstacles().empty());

        // The init group takes effect at a reset, the CPU solver included.
        Assign(params::simulationType, int32_t{1});
        Assign(params::gridWidth, int32_t{128});
        Assign(params::gridHeight, int32_t{64});
        QCOMPARE(window->Geometry().gridWidth, 512);
        Command(ID_SIMULATION_RESET);
        QCOMPARE(window->Geometry().gridWidth, 128);
        QCOMPARE(window->Geometry().gridHeight, 64);
        QVERIFY(dynamic_cast<CpuLbmSimulator*>(window->Simulator()) != nullptr);

        // Saved values are unchecked; the solver is built inside the declared range.
        Assign(params::gridWidth, int32_t{5000});
        Assign(params::gridHeight, int32_t{-3});
        Command(ID_SIMULATION_RESET);
        QCOMPARE(window->Geometry().gridWidth, 1024);
        QCOMPARE(window->Geometry().gridHeight, 64);
        QVERIFY(messages.empty());
    }

    void resetFlowKeepsObstaclesAndSimulator()
    {
        Start(912, 256);
        window->On_LButtonDown(100, 55);
        QTest::qWait(300);  // frames run: the flow leaves the uniform state
        LbmSimulator* sim = window->Simulator();
        Assign(params::flowVelX, 0.05f);
        Command(ID_SIMULATION_RESETFLOW);
        QCOMPARE(window->Simulator(), sim);
        QCOMPARE(Obstacles().size(), size_t{1});
        std::vector<float> field;
        QVERIFY(ComputeVelocityField(*sim, 512, 256, field));
        for (size_t n = 0; n < 512 * 256; n += 97) {
            QVERIFY(qAbs(field[3 * n] - 0.05f) < 1e-6f);
            QVERIFY(qAbs(field[3 * n + 2] - 1.0f) < 1e-6f);
        }
    }

    void dumpAfterResetHoldsTheUniformInflow_data()
    {
        SolverRows();
    }

    void dumpAfterResetHoldsTheUniformInflow()
    {
        QFETCH(int, solver);
        Assign(params::simulationType, int32_t{solver});
        Start(912, 256);
        QFile::remove("vel_512x256.dat");
        QTest::qWait(200);
        Command(ID_SIMULATION_RESET);
        Command(ID_DUMP_VELOCITY);
        QCOMPARE(messages.size(), size_t{1});
        QCOMPARE(messages[0].caption, std::string("Success"));
        QCOMPARE(messages[0].text, std::string("Ready!"));
        QFile file("vel_512x256.dat");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.size(), qsizetype{512 * 256 * 12});
        const auto* v = reinterpret_cast<const float*>(bytes.constData());
        for (int n = 0; n < 512 * 256; ++n) {
            if (qAbs(v[3 * n] - 0.1f) > 1e-6f || qAbs(v[3 * n + 1]) > 1e-6f || qAbs(v[3 * n + 2] - 1.0f) > 1e-6f)
                QFAIL(qPrintable(QString("record %1: %2 %3 %4").arg(n).arg(v[3 * n]).arg(v[3 * n + 1]).arg(v[3 * n + 2])));
        }
    }

    void dumpThatCannotBeWrittenIsReported()
    {
        Start(912, 256);
        QFile::remove("vel_512x256.dat");
        QVERIFY(QDir().mkdir("vel_512x256.dat"));
        Command(ID_DUMP_VELOCITY);
        QVERIFY(QDir().rmdir("vel_512x256.dat"));
        QCOMPARE(messages.size(), size_t{1});
        QCOMPARE(messages[0].caption, std::string("Error"));
        QVERIFY(messages[0].text.find("vel_512x256.dat") != std::string::npos);
    }

    void pictureDumpWritesTheGridAtItsSize()
    {
        Start(912, 256);
        window->On_LButtonDown(100, 128);
        QTest::qWait(300);
        QFile::remove("picture_512x256.png");
        Command(ID_DUMP_PICTURE);
        QCOMPARE(messages.size(), size_t{1});
        QCOMPARE(messages[0].caption, std::string("Success"));
        const QImage picture("picture_512x256.png");
        QCOMPARE(picture.size(), QSize(512, 256));
        if (const QByteArray path = qgetenv("EDDYRA_SCREENSHOT"); !path.isEmpty())
            picture.save(QString::fromUtf8(path).replace(".png", "-picture.png"));
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                colours.insert(picture.pixel(x, y));
        QVERIFY2(colours.size() > 20, qPrintable(QString("%1 colours").arg(colours.size())));
    }

    void obstaclesGoToAFileAndComeBackAndABadLineAddsNothing()
    {
        Start(912, 256);
        window->On_LButtonDown(100, 55);
        Assign(params::obstacleShape, int32_t{0});
        window->On_LButtonDown(300, 200);
        const std::vector<Obstacle> drawn = Obstacles();
        chosenFile = "obstacles.txt";
        Command(ID_SIMULATION_SAVEOBSTACLES);
        Command(ID_SIMULATION_CLEAROBSTACLES);
        Command(ID_SIMULATION_LOADOBSTACLES);
        QVERIFY(messages.empty());
        QCOMPARE(Obstacles().size(), drawn.size());
        for (size_t i = 0; i < drawn.size(); ++i)
            QVERIFY(SameObstacle(Obstacles()[i], drawn[i]));

        QFile bad("bad.txt");
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("rect 1 1 5 5\nellipse 1 1 5\n");
        bad.close();
        chosenFile = "bad.txt";
        Command(ID_SIMULATION_LOADOBSTACLES);
        QCOMPARE(messages.size(), size_t{1});
        QCOMPARE(messages[0].caption, std::string("Error"));
        QVERIFY2(messages[0].text.find("line 2") != std::string::npos, messages[0].text.c_str());
        QCOMPARE(Obstacles().size(), drawn.size());
        chosenFile.clear();  // a cancelled dialog does nothing
        Command(ID_SIMULATION_LOADOBSTACLES);
        QCOMPARE(messages.size(), size_t{1});
        QCOMPARE(Obstacles().size(), drawn.size());
    }

    void savedStateComesBackAndABadOneKeepsTheRunningFlow_data()
    {
        SolverRows();
    }

    void savedStateComesBackAndABadOneKeepsTheRunningFlow()
    {
        QFETCH(int, solver);
        Assign(params::simulationType, int32_t{solver});
        Assign(params::invViscosity, 60.0f);
        Start(912, 256);
        window->On_LButtonDown(100, 128);
        QTRY_VERIFY_WITH_TIMEOUT(window->SimulatedSteps() > 100, 30000);
        loop.reset();  // the flow holds still from here on
        std::vector<LatticeCell> saved, now;
        QVERIFY(FetchLattice(*window->Simulator(), 512, 256, saved));
        const int64_t savedSteps = window->SimulatedSteps();
        chosenFile = "run.state";
        Command(ID_DUMP_SAVESTATE);
        QVERIFY(messages.empty());

        // Another flow, viscosity and inflow; loading brings the saved ones back.
        window->On_LButtonDown(300, 200);
        window->Simulator()->Step(50);
        Assign(params::invViscosity, 500.0f);
        Assign(params::flowVelX, 0.05f);
        Command(ID_SIMULATION_LOADSTATE);
        QVERIFY(messages.empty());
        QVERIFY(FetchLattice(*window->Simulator(), 512, 256, now));
        QCOMPARE(std::memcmp(now.data(), saved.data(), saved.size() * sizeof(LatticeCell)), 0);
        QCOMPARE(Obstacles().size(), size_t{1});
        QCOMPARE(window->SimulatedSteps(), savedSteps);
        QCOMPARE(params::invViscosity.Value(), 60.0f);
        QCOMPARE(params::flowVelX.Value(), 0.1f);

        // Damaged, truncated, or of another grid: reported, and the flow kept.
        LbmSimulator* running = window->Simulator();
        window->Simulator()->Step(5);
        std::vector<LatticeCell> before;
        QVERIFY(FetchLattice(*running, 512, 256, before));
        QFile file("run.state");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray good = file.readAll();
        file.close();
        auto writeAs = [](const char* name, const QByteArray& bytes) {
            QFile f(name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        QByteArray damaged = good;
        damaged[10000] = static_cast<char>(damaged[10000] ^ 0x40);
        writeAs("damaged.state", damaged);
        writeAs("truncated.state", good.left(good.size() - 36));
        const std::vector<std::pair<std::string, std::string>> bad = {
            {"damaged.state", "damaged"}, {"truncated.state", "truncated"}, {"missing.state", "No such file"}};
        for (const auto& [name, mentions] : bad) {
            messages.clear();
            chosenFile = name;
            Command(ID_SIMULATION_LOADSTATE);
            QCOMPARE(messages.size(), size_t{1});
            QVERIFY2(messages[0].text.find(mentions) != std::string::npos, messages[0].text.c_str());
        }
        QCOMPARE(window->Simulator(), running);
        QVERIFY(FetchLattice(*running, 512, 256, now));
        QCOMPARE(std::memcmp(now.data(), before.data(), before.size() * sizeof(LatticeCell)), 0);
        Assign(params::gridWidth, int32_t{256});
        messages.clear();
        Command(ID_SIMULATION_RESET);
        chosenFile = "run.state";
        Command(ID_SIMULATION_LOADSTATE);
        QCOMPARE(messages.size(), size_t{1});
        QVERIFY2(messages[0].text.find("512 x 256 grid") != std::string::npos, messages[0].text.c_str());
        QCOMPARE(window->Geometry().gridWidth, 256);
    }

    // Blown up to large but finite values, as a flow may stay for ever: the
    // watch stops it, and its state is not saved to blow up again later.
    void aBlownUpFlowIsNotSavedAsAState()
    {
        Assign(params::simulationType, int32_t{1});
        Start(912, 256);
        loop.reset();
        std::vector<LatticeCell> cells;
        QVERIFY(FetchLattice(*window->Simulator(), 512, 256, cells));
        cells[3 * 512 + 7].f[4] = 5000.0f;
        QVERIFY(window->Simulator()->LoadGridState(reinterpret_cast<const float*>(cells.data()),
                                                   static_cast<int>(cells.size() * sizeof(LatticeCell))));
        QFile::remove("blown.state");
        chosenFile = "blown.state";
        Command(ID_DUMP_SAVESTATE);
        QCOMPARE(messages.size(), size_t{1});
        QVERIFY2(messages[0].text.find("blown up (cell (7, 3)") != std::string::npos, messages[0].text.c_str());
        QVERIFY(!QFile::exists("blown.state"));
    }

    void closingSavesChangedParametersAndTheNextStartRestoresThem()
    {
        Start();
        // An edit the way the editor makes it: through the component.
        IVariableStoragePtr storage;
        QCOMPARE(CoCreateInstance(CLSID_VariableStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IVariableStorage,
                                  storage.AsOut()),
                 S_OK);
        const int32_t rate = 17;
        storage->SetData(&LIST_ID, "view|updateRate", &rate, 4);
        const float nu = 40.0f;
        storage->SetData(&LIST_ID, "runtime|invViscosity", &nu, 4);
        storage = nullptr;
        QCOMPARE(params::updateRate.Value(), 17);
        QCOMPARE(params::invViscosity.Value(), 40.0f);
        Stop();
        QVERIFY(messages.empty());

        const auto records = ReadDataFile(kDataFile);
        QCOMPARE(records.size(), size_t{2});
        std::vector<std::string> names;
        for (const auto& r : records)
            names.push_back(r.first);
        QVERIFY(std::find(names.begin(), names.end(), "view|updateRate") != names.end());
        QVERIFY(std::find(names.begin(), names.end(), "runtime|invViscosity") != names.end());

        RestoreDefaults();
        Start();
        QCOMPARE(params::updateRate.Value(), 17);
        QCOMPARE(params::invViscosity.Value(), 40.0f);
        Stop();

        // Back at the default: no longer written.
        RestoreDefaults();
        Start();
        IVariableStoragePtr again;
        QCOMPARE(CoCreateInstance(CLSID_VariableStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IVariableStorage,
                                  again.AsOut()),
                 S_OK);
        const int32_t defaultRate = 10;
        again->SetData(&LIST_ID, "view|updateRate", &defaultRate, 4);
        again = nullptr;
        Stop();
        const auto after = ReadDataFile(kDataFile);
        QCOMPARE(after.size(), size_t{1});
        QCOMPARE(after[0].first, std::string("runtime|invViscosity"));
    }

    void aSaveThatFailsIsReported()
    {
        // "config" is taken by a file: neither the folder nor the data file
        // can be made.
        QFile blocker("config");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Start();
        const int32_t rate = 12;
        SetVariableFromStorage("view|updateRate", &rate, 4, nullptr);
        Stop();
        QVERIFY(QFile::remove("config"));
        QCOMPARE(messages.size(), size_t{1});
        QCOMPARE(messages[0].caption, std::string("Error"));
        QVERIFY(messages[0].text.find("could not be saved") != std::string::npos);
    }

    void savedNamesInCapitalsReachTheirParameterBeforeTheFirstSimulator()
    {
        QVERIFY(QDir().mkpath("config"));
        QByteArray data;
        const int32_t width = 128;
        const int32_t shape = 0;
        const int32_t unknown = 5;
        WriteRecord(data, "INIT|GRIDWIDTH", &width, 4);
        WriteRecord(data, "Obstacle|Shape", &shape, 4);
        WriteRecord(data, "init|noSuchThing", &unknown, 4);
        QFile file(kDataFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
        file.close();

        Start();
        QCOMPARE(params::gridWidth.Value(), 128);
        QCOMPARE(params::obstacleShape.Value(), 0);
        QCOMPARE(window->Geometry().gridWidth, 128);
    }

    void drawingContextThatCannotBeCreatedIsReportedAndCreationFails()
    {
        // The thread already holds a context, so the window cannot get one.
        QVERIFY(CreateHeadlessRenderContext());
        bool created = true;
        {
            FlowWindow w(L"config");
            created = w.Create();
            w.On_Destroy();
        }
        DestroyRenderContext();
        QVERIFY(!created);
        QCOMPARE(messages.size(), size_t{1});
        QVERIFY(!messages[0].text.empty());
        QCOMPARE(LiveRenderContextCount(), 0);
    }

    void missingComponentIsReportedAndCreationFails()
    {
        const QByteArray saved = qgetenv("COMREGISTRY_DIR");
        qputenv("COMREGISTRY_DIR", root.filePath("empty-registry").toUtf8());
        {
            FlowWindow w(L"config");
            const bool created = w.Create();
            w.On_Destroy();
            qputenv("COMREGISTRY_DIR", saved);
            QVERIFY(!created);
        }
        QCOMPARE(messages.size(), size_t{1});
        QVERIFY(messages[0].text.find("not registered") != std::string::npos);
        QVERIFY(messages[0].text.find("{B9D2F682-6B25-4CE5-9DBF-6B3C75D2E9EE}") != std::string::npos);
        QVERIFY(!QDir("config").exists());
    }
};

QTEST_MAIN(FlowWindowTest)
#include "FlowWindowTest.moc"
