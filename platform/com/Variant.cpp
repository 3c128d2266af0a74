#include "platform/com/Variant.h"

namespace {

bool IsSupported(VARTYPE vt)
{
    switch (vt) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_BSTR:
    case VT_DISPATCH: case VT_BOOL: case VT_UNKNOWN: case VT_I1: case VT_UI1: case VT_UI2: case VT_UI4:
    case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
        return true;
    default:
        return false;
    }
}

}  // namespace

void VariantInit(VARIANT* v)
{
    if (v) v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* v)
{
    if (!v) return E_INVALIDARG;
    if (!IsSupported(v->vt)) return DISP_E_BADVARTYPE;
    switch (v->vt) {
    case VT_BSTR: SysFreeString(v->bstrVal); break;
    case VT_UNKNOWN: if (v->punkVal) v->punkVal->Release(); break;
    case VT_DISPATCH: if (v->pdispVal) v->pdispVal->Release(); break;
    default: break;
    }
    v->vt = VT_EMPTY;
    v->llVal = 0;
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* source)
{
    if (!dest || !source) return E_INVALIDARG;
    if (!IsSupported(source->vt)) return DISP_E_BADVARTYPE;
    if (dest == source) return S_OK;
    // Copy first: source may live inside what dest holds.
    VARIANT copy = *source;
    if (source->vt == VT_BSTR && source->bstrVal) {
        copy.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
        if (!copy.bstrVal) return E_OUTOFMEMORY;
    } else if (source->vt == VT_UNKNOWN && source->punkVal) {
        source->punkVal->AddRef();
    } else if (source->vt == VT_DISPATCH && source->pdispVal) {
        source->pdispVal->AddRef();
    }
    if (HRESULT hr = VariantClear(dest); FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

ComVariant ComVariant::FromString(const wchar_t* text)
{
    ComVariant v;
    if (BSTR copy = SysAllocString(text ? text : L"")) {
        v.vt = VT_BSTR;
        v.bstrVal = copy;
    }
    return v;
}

ComVariant ComVariant::FromInt(int32_t value)
{
    ComVariant v;
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

ComVariant ComVariant::FromUnknown(IUnknown* unknown)
{
    ComVariant v;
    v.vt = VT_UNKNOWN;
    v.punkVal = unknown;
    if (unknown) unknown->AddRef();
    return v;
}
