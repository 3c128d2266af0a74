#include "storage/CreateVariableList.h"

#include "platform/com/Com.h"

IVariableListPtr CreateVariableList(const GUID& listId)
{
    ComPtr<IUnknown> unknown;
    if (FAILED(CoCreateInstance(listId, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.AsOut())) || !unknown)
        return nullptr;
    if (FAILED(OleRun(unknown.Get()))) return nullptr;
    IVariableListPtr list;
    if (FAILED(unknown.As(list))) return nullptr;
    return list;
}
