// The three ways the component opens its editor.  Kept as plain functions
// so that the component object compiles without any of the editor's
// widgets.
#pragma once

#include <cstdint>

#include "storage/api/VariableStorage.h"

class CVariableStorageImpl;

// Modal dialog owned by parent; returns when it is closed.
int32_t EditorCreateModal(CVariableStorageImpl* storage, HWND parent, IVariableChangedEvent* sink);
// Modeless dialog (or the open one raised); returns its handle.
HWND EditorCreate(CVariableStorageImpl* storage, HWND parent, IVariableChangedEvent* sink);
// Child control of parent inside rectangle; any number may exist.
HWND EditorCreateControl(CVariableStorageImpl* storage, HWND parent, const RECT* rectangle,
                         IVariableChangedEvent* sink);
