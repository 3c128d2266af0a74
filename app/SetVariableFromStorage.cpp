#include "app/SetVariableFromStorage.h"

#include "app/FindGlobalVariable.h"

int32_t STDMETHODCALLTYPE SetVariableFromStorage(const char* name, const void* bytes, unsigned length, void*)
{
    if (GlobalVariable* v = FindGlobalVariable(name))
        v->AssignValue(bytes, length);
    return 0;
}
