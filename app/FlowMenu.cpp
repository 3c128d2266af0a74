#include "app/FlowMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/MenuCommands.h"

namespace {
struct Entry {
    const char* text;
    int id;
};

void AddMenu(QMenuBar* bar, const char* title, std::initializer_list<Entry> entries,
             const std::function<void(int)>& onCommand)
{
    QMenu* menu = bar->addMenu(QString::fromUtf8(title));
    for (const Entry& entry : entries) {
        QAction* action = menu->addAction(QString::fromUtf8(entry.text));
        action->setData(entry.id);
        const int id = entry.id;
        QObject::connect(action, &QAction::triggered, bar, [onCommand, id] { onCommand(id); });
    }
}
}  // namespace

void BuildFlowMenu(QMenuBar* bar, const std::function<void(int)>& onCommand)
{
    AddMenu(bar, "Simulation",
            {{"Reset", ID_SIMULATION_RESET},
             {"Reset (keep obstacles)", ID_SIMULATION_RESETKEEPOBSTACLES},
             {"Clear Obstacles", ID_SIMULATION_CLEAROBSTACLES},
             {"Reset Flow", ID_SIMULATION_RESETFLOW},
             {"Load obstacles…", ID_SIMULATION_LOADOBSTACLES},
             {"Save obstacles…", ID_SIMULATION_SAVEOBSTACLES},
             {"Load state…", ID_SIMULATION_LOADSTATE}},
            onCommand);
    AddMenu(bar, "Dump",
            {{"Velocity", ID_DUMP_VELOCITY}, {"Picture", ID_DUMP_PICTURE}, {"Save state…", ID_DUMP_SAVESTATE}},
            onCommand);
    AddMenu(bar, "Presets", {{"Poiseuille flow", ID_PRESETS_POISEUILLEFLOW}, {"Vortex street", ID_PRESETS_VORTEXSTREET}},
            onCommand);
}
