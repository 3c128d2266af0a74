// The properties class the sample's streams name: the object it builds for
// a stream is the stream's own property table.
#pragma once

#include "samples/attributes/SampleObject.h"
#include "storage/api/Attributes.h"

class CStreamProps final : public SampleObject<IDataStorageStreamProps> {
public:
    // Non-zero with a reference in *object; 0 for a stream without a table.
    STDMETHOD_(int32_t, CreateObject)(IDataStorageStream* stream, IUnknown** object) override;
};
