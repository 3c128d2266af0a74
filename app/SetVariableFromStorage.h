// The value sink the storage component calls with a parameter's new bytes.
#pragma once

#include <cstdint>

#include "platform/com/ComBase.h"

// The first parameter whose name matches regardless of letter case takes the
// bytes; an unknown name is ignored.  Always returns 0.
int32_t STDMETHODCALLTYPE SetVariableFromStorage(const char* name, const void* bytes, unsigned length,
                                                 void* context);
