// The properties class the sample's streams name: the object it builds for
// a stream is the stream's own property table.
#pragma once

#include "samples/attributes/ComObject.h"
#include "storage/api/Attributes.h"

class CStreamProps final : public ComObject, public IDataStorageStreamProps {
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
    SAMPLE_COM_REFCOUNT

    // Non-zero with a reference in *object; 0 for a stream without a table.
    STDMETHOD_(int32_t, CreateObject)(IDataStorageStream* stream, IUnknown** object) override;
};
