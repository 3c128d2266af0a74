// Eddyra: the interactive flow simulator, and its studies without a window.
#include <csignal>
#include <cstdio>

#include <QApplication>

#include "app/FlowWindow.h"
#include "app/HeadlessOptions.h"
#include "app/HeadlessRun.h"
#include "app/IdleLoop.h"
#include "app/TerminationSignal.h"
#include "platform/com/Com.h"

namespace {
int RunWindow(int argc, char** argv)
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
}  // namespace

int main(int argc, char** argv)
{
    // A file size limit makes a write fail with EFBIG instead of ending the
    // process: the writer then keeps the previous file, removes its
    // temporary one and says why, in the window and in a study alike.
    std::signal(SIGXFSZ, SIG_IGN);
    // Nor does a reader of the progress lines that has gone away (a pipe
    // into head, a closed terminal session): the lines are lost, the run
    // goes on and its files are written.
    std::signal(SIGPIPE, SIG_IGN);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    std::string misuse;
    switch (ChooseLaunchMode(arguments, &misuse)) {
    case LaunchMode::Help:
        return PrintHelpProgram(argc, argv);
    case LaunchMode::Headless:
        return RunHeadlessProgram(argc, argv);
    case LaunchMode::Misuse:
        std::fprintf(stderr, "Eddyra: %s\n", misuse.c_str());
        return kExitBadCommandLine;
    case LaunchMode::Window:
        break;
    }
    return RunWindow(argc, argv);
}
