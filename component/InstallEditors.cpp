#include "component/InstallEditors.h"

#include "editor/spline/InstallSplineEditors.h"
#include "editor/values/InstallValueEditors.h"

void InstallEditors()
{
    static bool done = false;
    if (done) return;
    done = true;
    InstallValueEditors();
    InstallSplineEditors();
}
