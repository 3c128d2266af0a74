// The program's side of the storage component: hand it the parameters, take
// its editor control, and ask it to save the changed values at the end.
#pragma once

#include <string>

#include "storage/api/VariableStorage.h"

struct StorageBinding {
    IVariableStoragePtr storage;
    HWND editorWindow = nullptr;
};

// Creates the component by class id, loads configFolder, hands it the
// parameter list and the value sink (which replays the saved values into
// the parameters at once) and creates the editor control in parent.  When
// the component cannot be created, returns false with *failure naming the
// problem; nothing is attached then.
bool BindParameters(HWND parent, const std::wstring& configFolder, StorageBinding& binding, std::string* failure);

// The same binding without an editor control, for running without a window.
bool AttachParameters(const std::wstring& configFolder, StorageBinding& binding, std::string* failure);

// A new value for the parameter of that exact name, taken the road of an
// edit: the component stores it and hands it to the parameter, so that the
// editor and a later save see it.  Without a component the parameter takes
// it directly.
void SetParameter(StorageBinding& binding, const char* name, const void* bytes, unsigned length);

// Saves every parameter that differs from its default into configFolder
// (created when missing) and releases the component.  False, with the component's messages in *failure,
// when a value could not be written.  Nothing to do when nothing is bound.
bool SaveParameters(const std::wstring& configFolder, StorageBinding& binding, std::string* failure);
