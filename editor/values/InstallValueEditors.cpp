#include "editor/values/InstallValueEditors.h"

#include "editor/CValueEditor.h"
#include "editor/values/VarColorRGBEdit.h"
#include "editor/values/VarCombobox.h"
#include "editor/values/VarEdit.h"
#include "editor/values/VarPropsView.h"
#include "editor/values/VarSpinEdit.h"
#include "storage/api/GlobalVariableInfo.h"

void InstallValueEditors()
{
    RegisterValueEditor({VARKIND_ENUM}, [](CVarListView* list) -> CValueEditor* { return new CVarCombobox(list); });
    RegisterValueEditor({VARKIND_STRING}, [](CVarListView* list) -> CValueEditor* { return new CVarEdit(list); });
    RegisterValueEditor({VARKIND_INT, VARKIND_DOUBLE, VARKIND_FLOAT},
                        [](CVarListView* list) -> CValueEditor* { return new CVarSpinEdit(list); });
    RegisterValueEditor({VARKIND_COLORRGB},
                        [](CVarListView* list) -> CValueEditor* { return new CVarColorRGBEdit(list); });
    RegisterValueEditor({VARKIND_PROPS}, [](CVarListView* list) -> CValueEditor* { return new CVarPropsView(list); });
}
