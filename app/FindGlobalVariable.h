// The parameter of a given name, found as the storage binding finds it:
// the first in the chain whose name matches regardless of letter case.
#pragma once

#include "app/GlobalVariable.h"

// Null for an unknown or null name.
GlobalVariable* FindGlobalVariable(const char* name);
