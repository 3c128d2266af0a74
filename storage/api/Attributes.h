// Interfaces of the outside components behind the property-set kind: the
// attribute component that interprets a property block, the data stream it
// hands out for an item, and the properties class that the stream names.
// This system only calls them; any server answering them will do.
#pragma once

#include <cstdint>

#include "platform/com/Bstr.h"
#include "platform/com/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/com/Variant.h"

inline constexpr IID IID_IAttributes = {
    0xAAF06980, 0xB1D7, 0x11D5, {0xAD, 0xA7, 0x20, 0x4C, 0x4F, 0x4F, 0x50, 0x20}};
inline constexpr IID IID_IDataStorageStream = {
    0x9C51FB37, 0x2667, 0x4722, {0xB4, 0x68, 0x4E, 0x1D, 0x44, 0x56, 0xC8, 0x07}};
inline constexpr IID IID_IDataStorageStreamProps = {
    0x5E0B7C41, 0x3A9D, 0x4F62, {0x91, 0x7C, 0x2D, 0x84, 0x6B, 0x1E, 0xA3, 0x55}};
// The empty attribute set the property dialog fills.
inline constexpr CLSID CLSID_AttributeSet = {
    0x29125210, 0xB1D9, 0x11D5, {0xAD, 0xA7, 0x20, 0x4C, 0x4F, 0x4F, 0x50, 0x20}};
// The property editor the property dialog hosts.
inline constexpr CLSID CLSID_PropertyEditor = {
    0xACDD1E78, 0x0E67, 0x4377, {0xA9, 0x81, 0xB9, 0xE3, 0x1A, 0x61, 0x31, 0xE9}};

// A set of named attributes.  The storage component calls only the sixth
// method, GetAttribute, with the item name as a string VARIANT.
struct IAttributes : IUnknown {
    STDMETHOD(GetCount)(int32_t* count) = 0;
    STDMETHOD(GetName)(int32_t index, BSTR* name) = 0;
    STDMETHOD(GetValue)(int32_t index, VARIANT* value) = 0;
    STDMETHOD(SetAttribute)(const VARIANT* name, const VARIANT* value) = 0;
    STDMETHOD(RemoveAttribute)(const VARIANT* name) = 0;
    // The attribute of that name; an object (VT_UNKNOWN or VT_DISPATCH) for
    // items that have a data stream.
    STDMETHOD(GetAttribute)(const VARIANT* name, VARIANT* value) = 0;
};

// The data of one item.  Each method returns non-zero on success.
struct IDataStorageStream : IUnknown {
    STDMETHOD_(int32_t, Read)(void* buffer, uint32_t size, uint32_t* read) = 0;
    STDMETHOD_(int32_t, Write)(const void* buffer, uint32_t size, uint32_t* written) = 0;
    // The stream's data object (reference for the caller), or null.
    STDMETHOD_(int32_t, GetDataObject)(IUnknown** dataObject) = 0;
    // The properties class that shows this stream: a braced class id or a
    // ProgID, newly allocated, freed by the caller with SysFreeString.
    STDMETHOD_(int32_t, GetPropsClass)(BSTR* name) = 0;
};

// Builds the object a property editor shows for a stream.
struct IDataStorageStreamProps : IUnknown {
    STDMETHOD_(int32_t, CreateObject)(IDataStorageStream* stream, IUnknown** object) = 0;
};

DECLARE_INTERFACE_ID(IAttributes, IID_IAttributes);
DECLARE_INTERFACE_ID(IDataStorageStream, IID_IDataStorageStream);
DECLARE_INTERFACE_ID(IDataStorageStreamProps, IID_IDataStorageStreamProps);

using IAttributesPtr = ComPtr<IAttributes>;
using IDataStorageStreamPtr = ComPtr<IDataStorageStream>;
using IDataStorageStreamPropsPtr = ComPtr<IDataStorageStreamProps>;
