// QuilletDemo: a small client of the variable storage component.  It hands
// the component two variable lists and opens the "Variables editor" as a
// modal dialog, a modeless dialog or a child control of its own window.
#include <QApplication>
#include <QMessageBox>

#include "demo/DemoWindow.h"
#include "platform/com/ComRuntime.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CoInitialize(nullptr);
    int code = 0;
    {
        DemoWindow window;
        if (!window.IsReady()) {
            QMessageBox::critical(nullptr, "Quillet demo", QString::fromStdString(window.ErrorText()));
            code = 1;
        } else {
            window.show();
            if (app.arguments().contains("--control")) window.ToggleControl();
            if (app.arguments().contains("--modeless")) window.OpenModeless();
            code = app.exec();
        }
    }
    CoFreeUnusedLibraries();
    CoUninitialize();
    return code;
}
