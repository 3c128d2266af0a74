#include "samples/attributes/StreamProps.h"

#include "samples/attributes/SampleIds.h"

HRESULT CStreamProps::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDataStorageStreamProps) {
        *object = static_cast<IDataStorageStreamProps*>(this);
        AddRefImpl();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

int32_t CStreamProps::CreateObject(IDataStorageStream* stream, IUnknown** object)
{
    if (!object)
        return 0;
    *object = nullptr;
    void* table = nullptr;
    if (!stream || FAILED(stream->QueryInterface(IID_IPropertyTable, &table)) || !table)
        return 0;
    *object = static_cast<IPropertyTable*>(table);
    return 1;
}
