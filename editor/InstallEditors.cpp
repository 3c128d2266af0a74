#include "editor/InstallEditors.h"

// Each editor module announces itself with its install header (see
// editor/CValueEditor.h); a module that is not built yet leaves its kinds
// without an editor, and clicks on their value cells do nothing.
#if __has_include("editor/values/InstallValueEditors.h")
#include "editor/values/InstallValueEditors.h"
#define QUILLET_HAVE_VALUE_EDITORS 1
#endif
#if __has_include("editor/spline/InstallSplineEditors.h")
#include "editor/spline/InstallSplineEditors.h"
#define QUILLET_HAVE_SPLINE_EDITORS 1
#endif

void InstallEditors()
{
    static bool done = false;
    if (done) return;
    done = true;
#ifdef QUILLET_HAVE_VALUE_EDITORS
    InstallValueEditors();
#endif
#ifdef QUILLET_HAVE_SPLINE_EDITORS
    InstallSplineEditors();
#endif
}
