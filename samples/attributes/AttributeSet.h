// A set of named text attributes.  Created empty by class id; hands its
// attributes out as one "CF_ATR" block through its data object.
#pragma once

#include "platform/com/DataObject.h"
#include "samples/attributes/AttributeData.h"
#include "samples/attributes/SampleObject.h"
#include "storage/api/Attributes.h"

class CAttributeSet final : public SampleObject<IAttributes, IDataObject> {
public:
    CAttributeSet() = default;
    explicit CAttributeSet(AttributeList attributes) : attributes(std::move(attributes)) {}

    // IAttributes
    STDMETHOD(GetCount)(int32_t* count) override;
    STDMETHOD(GetName)(int32_t index, BSTR* name) override;
    STDMETHOD(GetValue)(int32_t index, VARIANT* value) override;
    STDMETHOD(SetAttribute)(const VARIANT* name, const VARIANT* value) override;
    STDMETHOD(RemoveAttribute)(const VARIANT* name) override;
    STDMETHOD(GetAttribute)(const VARIANT* name, VARIANT* value) override;

    // IDataObject: "CF_ATR" in global memory only.
    STDMETHOD(GetData)(const FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHOD(GetDataHere)(const FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHOD(QueryGetData)(const FORMATETC* format) override;
    STDMETHOD(GetCanonicalFormatEtc)(const FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHOD(SetData)(const FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHOD(EnumFormatEtc)(uint32_t, void**) override { return E_NOTIMPL; }
    STDMETHOD(DAdvise)(const FORMATETC*, uint32_t, void*, uint32_t*) override { return E_NOTIMPL; }
    STDMETHOD(DUnadvise)(uint32_t) override { return E_NOTIMPL; }
    STDMETHOD(EnumDAdvise)(void**) override { return E_NOTIMPL; }

    const AttributeList& Attributes() const { return attributes; }

private:
    AttributeList attributes;
};

// Reads a string (or number) VARIANT as UTF-8 text; false for other kinds.
bool VariantText(const VARIANT* value, std::string& text);
