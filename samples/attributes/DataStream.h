// The data stream of one item: its properties as a "CF_ATR" block to read
// or write, a data object holding them, and the properties class that shows
// them.  It also offers the item's properties as a table, which is the
// object the property editor edits.
#pragma once

#include <string>
#include <vector>

#include "samples/attributes/SampleObject.h"
#include "samples/attributes/SampleIds.h"
#include "storage/api/Attributes.h"

class CDataStream final : public SampleObject<IDataStorageStream, IPropertyTable> {
public:
    explicit CDataStream(std::string itemName) : item(std::move(itemName)) {}

    // IDataStorageStream
    STDMETHOD_(int32_t, Read)(void* buffer, uint32_t size, uint32_t* read) override;
    // Collects bytes; once they form a whole block, they become the item's
    // properties.
    STDMETHOD_(int32_t, Write)(const void* buffer, uint32_t size, uint32_t* written) override;
    STDMETHOD_(int32_t, GetDataObject)(IUnknown** dataObject) override;
    STDMETHOD_(int32_t, GetPropsClass)(BSTR* name) override;

    // IPropertyTable
    STDMETHOD_(int32_t, GetCount)() override;
    STDMETHOD_(int32_t, GetName)(int32_t index, BSTR* name) override;
    STDMETHOD_(int32_t, GetValue)(int32_t index, BSTR* value) override;
    STDMETHOD_(int32_t, SetValue)(const wchar_t* name, const wchar_t* value) override;

private:
    std::string item;
    size_t readAt = 0;
    std::vector<uint8_t> written;
};
