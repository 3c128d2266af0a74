#include "samples/attributes/SampleAttributes.h"

#include "platform/com/Com.h"
#include "samples/attributes/AttributeSet.h"
#include "samples/attributes/DataStream.h"

HRESULT CSampleAttributes::GetCount(int32_t* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CSampleAttributes::GetName(int32_t, BSTR* name)
{
    if (name)
        *name = nullptr;
    return E_INVALIDARG;
}

HRESULT CSampleAttributes::GetAttribute(const VARIANT* name, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    std::string item;
    if (!name || name->vt != VT_BSTR || !VariantText(name, item) || item.empty())
        return E_INVALIDARG;
    VariantClear(value);
    auto* stream = new CDataStream(item);
    value->vt = VT_UNKNOWN;
    value->punkVal = static_cast<IDataStorageStream*>(stream);  // takes the creation reference
    return S_OK;
}
