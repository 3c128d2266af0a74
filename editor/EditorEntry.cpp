// Until the editor window exists, the component opens nothing.
#include "storage/EditorEntry.h"

int32_t EditorCreateModal(CVariableStorageImpl*, HWND, IVariableChangedEvent*) { return 0; }

HWND EditorCreate(CVariableStorageImpl*, HWND, IVariableChangedEvent*) { return nullptr; }

HWND EditorCreateControl(CVariableStorageImpl*, HWND, const RECT*, IVariableChangedEvent*) { return nullptr; }
