// Class identifiers of the sample attribute server, and the interface by
// which its property editor reaches the properties of one item.
#pragma once

#include <cstdint>

#include "platform/com/Bstr.h"
#include "platform/com/ComBase.h"
#include "platform/com/ComPtr.h"

// The attribute component a client names in a property-set variable.
inline constexpr CLSID CLSID_SampleAttributes = {
    0x8E5C2A31, 0x4F1B, 0x4C7D, {0xA2, 0xE9, 0x5B, 0x0D, 0x6C, 0x3F, 0x7A, 0x10}};
// The properties class its streams name.
inline constexpr CLSID CLSID_SampleStreamProps = {
    0x8E5C2A32, 0x4F1B, 0x4C7D, {0xA2, 0xE9, 0x5B, 0x0D, 0x6C, 0x3F, 0x7A, 0x10}};
inline constexpr IID IID_IPropertyTable = {
    0x8E5C2A33, 0x4F1B, 0x4C7D, {0xA2, 0xE9, 0x5B, 0x0D, 0x6C, 0x3F, 0x7A, 0x10}};

inline constexpr const char* kSampleAttributesProgId = "Quillet.SampleAttributes";
inline constexpr const char* kSampleStreamPropsProgId = "Quillet.SampleStreamProps";
inline constexpr const char* kAttributeSetProgId = "Quillet.AttributeSet";
inline constexpr const char* kPropertyEditorProgId = "Quillet.PropertyEditor";

// The properties of one item, as name and value texts.  Each method returns
// non-zero on success; texts are new strings the caller frees.
struct IPropertyTable : IUnknown {
    STDMETHOD_(int32_t, GetCount)() = 0;
    STDMETHOD_(int32_t, GetName)(int32_t index, BSTR* name) = 0;
    STDMETHOD_(int32_t, GetValue)(int32_t index, BSTR* value) = 0;
    // Replaces the value of the named property, or adds the property.
    STDMETHOD_(int32_t, SetValue)(const wchar_t* name, const wchar_t* value) = 0;
};
DECLARE_INTERFACE_ID(IPropertyTable, IID_IPropertyTable);
using IPropertyTablePtr = ComPtr<IPropertyTable>;
