#include "samples/attributes/AttributeSet.h"

#include <cstring>
#include <string>

#include "platform/com/Com.h"
#include "platform/messages/RegisteredMessage.h"
#include "storage/api/PropertyEditorApi.h"

bool VariantText(const VARIANT* value, std::string& text)
{
    if (!value)
        return false;
    switch (value->vt) {
    case VT_BSTR:
        text = value->bstrVal ? WideToUtf8(std::wstring_view(value->bstrVal, SysStringLen(value->bstrVal))) : "";
        return true;
    case VT_I4:
    case VT_INT:
        text = std::to_string(value->lVal);
        return true;
    case VT_R8:
        text = std::to_string(value->dblVal);
        return true;
    default:
        return false;
    }
}

HRESULT CAttributeSet::GetCount(int32_t* count)
{
    if (!count)
        return E_POINTER;
    *count = static_cast<int32_t>(attributes.size());
    return S_OK;
}

HRESULT CAttributeSet::GetName(int32_t index, BSTR* name)
{
    if (!name)
        return E_POINTER;
    *name = nullptr;
    if (index < 0 || size_t(index) >= attributes.size())
        return E_INVALIDARG;
    *name = SysAllocStringUtf8(attributes[size_t(index)].first);
    return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT CAttributeSet::GetValue(int32_t index, VARIANT* value)
{
    if (!value)
        return E_POINTER;
    if (index < 0 || size_t(index) >= attributes.size())
        return E_INVALIDARG;
    VariantClear(value);
    value->bstrVal = SysAllocStringUtf8(attributes[size_t(index)].second);
    if (!value->bstrVal)
        return E_OUTOFMEMORY;
    value->vt = VT_BSTR;
    return S_OK;
}

HRESULT CAttributeSet::SetAttribute(const VARIANT* name, const VARIANT* value)
{
    std::string key, text;
    if (!VariantText(name, key) || !VariantText(value, text))
        return E_INVALIDARG;
    for (auto& entry : attributes)
        if (entry.first == key) {
            entry.second = text;
            return S_OK;
        }
    attributes.emplace_back(key, text);
    return S_OK;
}

HRESULT CAttributeSet::RemoveAttribute(const VARIANT* name)
{
    std::string key;
    if (!VariantText(name, key))
        return E_INVALIDARG;
    for (auto it = attributes.begin(); it != attributes.end(); ++it)
        if (it->first == key) {
            attributes.erase(it);
            return S_OK;
        }
    return S_FALSE;
}

HRESULT CAttributeSet::GetAttribute(const VARIANT* name, VARIANT* value)
{
    std::string key;
    if (!value)
        return E_POINTER;
    if (!VariantText(name, key))
        return E_INVALIDARG;
    for (size_t i = 0; i < attributes.size(); ++i)
        if (attributes[i].first == key)
            return GetValue(static_cast<int32_t>(i), value);
    return E_INVALIDARG;
}

HRESULT CAttributeSet::QueryGetData(const FORMATETC* format)
{
    if (!format)
        return E_POINTER;
    if (format->cfFormat != RegisterClipboardFormat(kAttributeFormatName))
        return DV_E_FORMATETC;
    return (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_TYMED;
}

HRESULT CAttributeSet::GetData(const FORMATETC* format, STGMEDIUM* medium)
{
    if (!medium)
        return E_POINTER;
    const HRESULT offered = QueryGetData(format);
    if (FAILED(offered))
        return offered;
    const std::vector<uint8_t> bytes = EncodeAttributes(attributes);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block)
        return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}
