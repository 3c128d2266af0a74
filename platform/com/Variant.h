// Tagged values passed to automation-style methods.  Only the kinds this
// system exchanges are supported: empty, null, integers, reals, booleans,
// strings and interface pointers.
#pragma once

#include <cstdint>

#include "platform/com/Bstr.h"
#include "platform/com/ComBase.h"

using VARTYPE = uint16_t;
using VARIANT_BOOL = int16_t;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_BOOL = 11,
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
};

// Only its IUnknown part is called here; the automation methods keep their
// slots so that the vtable has the documented shape.
struct IDispatch : IUnknown {
    STDMETHOD(GetTypeInfoCount)(uint32_t* count) = 0;
    STDMETHOD(GetTypeInfo)(uint32_t index, uint32_t locale, void** typeInfo) = 0;
    STDMETHOD(GetIDsOfNames)(REFIID riid, wchar_t** names, uint32_t count, uint32_t locale, int32_t* ids) = 0;
    STDMETHOD(Invoke)(int32_t id, REFIID riid, uint32_t locale, uint16_t flags, void* params, void* result,
                      void* exception, uint32_t* argError) = 0;
};
inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
DECLARE_INTERFACE_ID(IDispatch, IID_IDispatch);

struct VARIANT {
    VARTYPE vt;
    uint16_t wReserved1;
    uint16_t wReserved2;
    uint16_t wReserved3;
    union {
        int64_t llVal;
        uint64_t ullVal;
        int32_t lVal;
        uint32_t ulVal;
        int32_t intVal;
        uint32_t uintVal;
        int16_t iVal;
        uint16_t uiVal;
        int8_t cVal;
        uint8_t bVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        void* record[2];  // keeps the documented 24-byte size
    };
};
static_assert(sizeof(VARIANT) == 24);
using VARIANTARG = VARIANT;

// Sets vt to VT_EMPTY; the rest is left as it is.
void VariantInit(VARIANT* v);
// Frees the string or releases the interface the variant holds, then
// VT_EMPTY.  DISP_E_BADVARTYPE (variant untouched) for unsupported kinds.
HRESULT VariantClear(VARIANT* v);
// Clears dest, then copies source into it: strings are duplicated and
// interfaces gain a reference.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* source);

// Owner of one VARIANT: cleared on destruction.
class ComVariant : public VARIANT {
public:
    ComVariant() { VariantInit(this); }
    ComVariant(const ComVariant& other) : ComVariant() { VariantCopy(this, &other); }
    ComVariant& operator=(const ComVariant& other)
    {
        if (this != &other) VariantCopy(this, &other);
        return *this;
    }
    ~ComVariant() { VariantClear(this); }

    // A string variant holding a copy of text (VT_EMPTY when out of memory).
    static ComVariant FromString(const wchar_t* text);
    static ComVariant FromInt(int32_t value);
    // Takes a new reference on the interface.
    static ComVariant FromUnknown(IUnknown* unknown);
};
