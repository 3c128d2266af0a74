// The main window's menu: "Simulation", "Dump" and "Presets".  Each entry
// carries its command id as the action's data; the entries for files of
// studies follow the first ones in their menus.
#pragma once

#include <functional>

class QMenuBar;

void BuildFlowMenu(QMenuBar* bar, const std::function<void(int commandId)>& onCommand);
