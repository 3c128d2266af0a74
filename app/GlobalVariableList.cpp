#include "app/GlobalVariableList.h"

HRESULT STDMETHODCALLTYPE GlobalVariableList::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IVariableList) {
        *object = static_cast<IVariableList*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE GlobalVariableList::AddRef() { return ++references; }

ULONG STDMETHODCALLTYPE GlobalVariableList::Release()
{
    const ULONG left = --references;
    if (left == 0)
        delete this;
    return left;
}

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
