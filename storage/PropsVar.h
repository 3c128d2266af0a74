// Kind 7: an opaque block of bytes that an outside attribute component
// interprets.  Its default is the empty value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/Var.h"

struct IDataStorageStream;

class CPropsVar : public CVar {
public:
    explicit CPropsVar(const GLOBAL_VARIABLE_INFO& info);

    bool IsDefault() const override;
    const char* AsString() const override;
    void SetValue(const void* bytes, unsigned length) override;
    void GetValue(void** bytes, unsigned* length) const override;
    void GetDefaultValue(void** bytes, unsigned* length) const override;
    void SetDefault() override;

    // The attribute component's data stream for the item name; true and a
    // reference for the caller in *stream, or false on any failure.
    bool GetStream(IDataStorageStream** stream) const;

    const GUID& GetClassId() const { return clsid; }
    const char* GetItemName() const { return itemName.c_str(); }
    const std::vector<uint8_t>& GetBytes() const { return value; }

private:
    GUID clsid = GUID_NULL;
    std::string itemName;
    std::vector<uint8_t> value;
};
