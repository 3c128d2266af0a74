// Creates a client's variable list that is registered as a COM class whose
// class id is the list id.  Null when it cannot be created.
#pragma once

#include "storage/api/VariableStorage.h"

IVariableListPtr CreateVariableList(const GUID& listId);
