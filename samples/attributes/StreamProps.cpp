#include "samples/attributes/StreamProps.h"

#include "samples/attributes/SampleIds.h"

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
