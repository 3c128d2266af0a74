#include "app/FindGlobalVariable.h"

#include "platform/text/AsciiCase.h"

GlobalVariable* FindGlobalVariable(const char* name)
{
    if (!name)
        return nullptr;
    for (GlobalVariable* v = globalVariableChain; v; v = v->GetNext())
        if (EqualNoCase(v->GetVariableName(), name))
            return v;
    return nullptr;
}
