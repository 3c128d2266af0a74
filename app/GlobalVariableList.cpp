#include "app/GlobalVariableList.h"

const char* STDMETHODCALLTYPE GlobalVariableList::GetListName() { return "LBM"; }

int32_t STDMETHODCALLTYPE GlobalVariableList::Reset()
{
    cursor = globalVariableChain;
    return 1;
}

int32_t STDMETHODCALLTYPE GlobalVariableList::Next(GLOBAL_VARIABLE_INFO* info)
{
    if (!cursor || !info)
        return 0;
    cursor->Describe(info);
    cursor = cursor->GetNext();
    return 1;
}
