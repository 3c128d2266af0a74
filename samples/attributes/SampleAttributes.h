// The attribute component: for an item name it hands out that item's data
// stream as an object.
#pragma once

#include "samples/attributes/SampleObject.h"
#include "storage/api/Attributes.h"

class CSampleAttributes final : public SampleObject<IAttributes> {
public:
    // Items are made on demand: there is nothing to count or enumerate.
    STDMETHOD(GetCount)(int32_t* count) override;
    STDMETHOD(GetName)(int32_t, BSTR* name) override;
    STDMETHOD(GetValue)(int32_t, VARIANT*) override { return E_INVALIDARG; }
    STDMETHOD(SetAttribute)(const VARIANT*, const VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(RemoveAttribute)(const VARIANT*) override { return E_NOTIMPL; }
    // The item's data stream (VT_UNKNOWN); E_INVALIDARG for a name that is
    // not text or is empty.
    STDMETHOD(GetAttribute)(const VARIANT* name, VARIANT* value) override;
};
