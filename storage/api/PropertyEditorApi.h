// The outside property editor that the property dialog hosts, and the sink
// through which it reports changes.  The component only calls them; any
// in-process server registered for CLSID_PropertyEditor will do.
#pragma once

#include <cstdint>

#include "platform/com/ComBase.h"
#include "platform/com/ComPtr.h"
#include "storage/api/Attributes.h"
#include "storage/api/VariableStorage.h"

inline constexpr IID IID_IPropertyEditor = {
    0x6B1F0C52, 0x7D2E, 0x4B8A, {0x9E, 0x43, 0x1A, 0x55, 0xC0, 0x7D, 0x2F, 0x91}};
inline constexpr IID IID_IPropertyChangedEvent = {
    0x6B1F0C53, 0x7D2E, 0x4B8A, {0x9E, 0x43, 0x1A, 0x55, 0xC0, 0x7D, 0x2F, 0x91}};

// The name of the clipboard format in which an attribute set hands out its
// attributes as one block of bytes: the value of a property-set variable.
inline constexpr const char* kAttributeFormatName = "CF_ATR";
// The option value the property dialog passes when it creates the editor.
inline constexpr int32_t kPropertyEditorOptions = 66;

// Implemented by the property dialog: told after every change of a property.
struct IPropertyChangedEvent : IUnknown {
    STDMETHOD_(int32_t, OnPropertyChanged)() = 0;
};

// Each method returns non-zero (or a window) on success.
struct IPropertyEditor : IUnknown {
    // Shows object in a new child window of parent over rectangle (parent's
    // client coordinates); reports changes to sink.  Returns the window.
    STDMETHOD_(HWND, Create)(HWND parent, const RECT* rectangle, IUnknown* object, IPropertyChangedEvent* sink,
                             int32_t options) = 0;
    // Loads the properties shown from a data object (the stream's data).
    STDMETHOD_(int32_t, SetDataObject)(IUnknown* dataObject) = 0;
    // Writes the current properties into an attribute set.
    STDMETHOD_(int32_t, GetProperties)(IAttributes* attributes) = 0;
};

DECLARE_INTERFACE_ID(IPropertyChangedEvent, IID_IPropertyChangedEvent);
DECLARE_INTERFACE_ID(IPropertyEditor, IID_IPropertyEditor);
using IPropertyChangedEventPtr = ComPtr<IPropertyChangedEvent>;
using IPropertyEditorPtr = ComPtr<IPropertyEditor>;
