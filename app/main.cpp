// Eddyra: the interactive flow simulator.
#include <QApplication>

#include "app/FlowWindow.h"
#include "app/IdleLoop.h"
#include "app/TerminationSignal.h"
#include "platform/com/Com.h"

int main(int argc, char** argv)
{
    CoInitialize(nullptr);
    int exitCode = 0;
    {
        QApplication application(argc, argv);
        FlowWindow window(L"config");
        if (!window.Create()) {
            // Storage or drawing context missing: already reported; release
            // what was bound and leave without starting the loop.
            window.On_Destroy();
            exitCode = 1;
        } else {
            window.show();
            CloseOnTerminationSignals(&window);
            IdleLoop loop([&window] { return window.OnIdle(); });
            exitCode = loop.Run();
        }
    }
    CoUninitialize();
    return exitCode;
}
