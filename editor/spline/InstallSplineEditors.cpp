#include "editor/spline/InstallSplineEditors.h"

#include "editor/CValueEditor.h"
#include "editor/spline/CVarColorRGBSplineView.h"
#include "editor/spline/CVarSplineView.h"
#include "storage/api/GlobalVariableInfo.h"

void InstallSplineEditors()
{
    RegisterValueEditor({VARKIND_SPLINE2D}, [](CVarListView* list) -> CValueEditor* { return new CVarSplineView(list); });
    RegisterValueEditor({VARKIND_COLORRGBSPLINE},
                        [](CVarListView* list) -> CValueEditor* { return new CVarColorRGBSplineView(list); });
}
