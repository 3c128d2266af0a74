// The binary interface between a client program and the variable storage
// component.  Clients include this header only; they never link the
// component and reach it by class id through the COM layer.
#pragma once

#include <cstdint>

#include "platform/com/ComBase.h"
#include "platform/com/ComPtr.h"
#include "storage/api/GlobalVariableInfo.h"

class QWidget;
using HWND = QWidget*;  // a window handle is a widget pointer

struct RECT {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};


// The client's value sink: full path name, value bytes in the kind's layout
// (valid only during the call), their length, and the client's context.
using VARIABLE_CALLBACK = int32_t(STDMETHODCALLTYPE*)(const char* name, const void* bytes, unsigned length,
                                                      void* context);

inline constexpr CLSID CLSID_VariableStorage = {
    0xB9D2F682, 0x6B25, 0x4CE5, {0x9D, 0xBF, 0x6B, 0x3C, 0x75, 0xD2, 0xE9, 0xEE}};
inline constexpr IID IID_IVariableStorageAttach = {
    0x7AB256F7, 0x0041, 0x4042, {0xAA, 0xEA, 0xC8, 0xF3, 0x29, 0xCD, 0x5F, 0xFA}};
inline constexpr IID IID_IVariableStorage = {
    0x7486C870, 0x7064, 0x46F7, {0xBA, 0x45, 0x10, 0xC2, 0x4E, 0x6E, 0x00, 0x2A}};
inline constexpr IID IID_IVariableStorage2 = {
    0xBE842079, 0x465C, 0x4371, {0xAC, 0xC1, 0x24, 0xC6, 0x48, 0xC3, 0xFC, 0xF2}};
inline constexpr IID IID_IVariableList = {
    0x7C68A119, 0x51C4, 0x4EA8, {0xBB, 0xF2, 0x3C, 0x64, 0xF1, 0x62, 0xD6, 0xEA}};
// Never queried by the component; clients and component agree on the method
// order only.  Given an identifier so that smart pointers can name it.
inline constexpr IID IID_IVariableChangedEvent = {
    0x3F1C2D7A, 0x9B4E, 0x4C21, {0x8E, 0x5D, 0x41, 0x7A, 0x2B, 0x90, 0xC6, 0x13}};

inline constexpr const char* kVariableStorageProgId = "Pelmaxi.VariableStorage";

// Implemented by the client: its variables, enumerable.
struct IVariableList : IUnknown {
    STDMETHOD_(const char*, GetListName)() = 0;
    STDMETHOD_(int32_t, Reset)() = 0;
    // Fills info and returns non-zero, or returns 0 at the end (info untouched).
    STDMETHOD_(int32_t, Next)(GLOBAL_VARIABLE_INFO* info) = 0;
};

// Implemented by the client: optional change sink of an editor window.
struct IVariableChangedEvent : IUnknown {
    STDMETHOD_(int32_t, OnVariableChanged)(const GUID* listId, const char* name, const void* bytes,
                                           unsigned length) = 0;
};

struct IVariableStorageAttach : IUnknown {
    STDMETHOD_(int32_t, AttachVariableList)(const GUID* listId, VARIABLE_CALLBACK callback, void* context) = 0;
    STDMETHOD_(int32_t, DetachVariableList)(const GUID* listId) = 0;
};

struct IVariableStorage : IUnknown {
    STDMETHOD_(int32_t, Load)(const wchar_t* folder) = 0;
    STDMETHOD_(int32_t, Save)(const wchar_t* folder) = 0;
    STDMETHOD_(int32_t, SetData)(const GUID* listId, const char* name, const void* bytes, unsigned length) = 0;
    STDMETHOD_(int32_t, UseVariableList)(const GUID* listId, IVariableList* list) = 0;
    STDMETHOD_(int32_t, CreateModal)(HWND parent, int32_t unused, IVariableChangedEvent* sink) = 0;
    STDMETHOD_(HWND, Create)(HWND parent, int32_t unused, IVariableChangedEvent* sink) = 0;
    STDMETHOD_(HWND, CreateControl)(HWND parent, const RECT* rectangle, IVariableChangedEvent* sink) = 0;
};

struct IVariableStorage2 : IUnknown {
    // 1 when every list was written, 0 otherwise; errors (if not null)
    // receives the accumulated messages, freed by the caller with SysFreeString.
    STDMETHOD_(int32_t, Save)(const wchar_t* folder, BSTR* errors) = 0;
};

DECLARE_INTERFACE_ID(IVariableList, IID_IVariableList);
DECLARE_INTERFACE_ID(IVariableChangedEvent, IID_IVariableChangedEvent);
DECLARE_INTERFACE_ID(IVariableStorageAttach, IID_IVariableStorageAttach);
DECLARE_INTERFACE_ID(IVariableStorage, IID_IVariableStorage);
DECLARE_INTERFACE_ID(IVariableStorage2, IID_IVariableStorage2);

using IVariableListPtr = ComPtr<IVariableList>;
using IVariableChangedEventPtr = ComPtr<IVariableChangedEvent>;
using IVariableStorageAttachPtr = ComPtr<IVariableStorageAttach>;
using IVariableStoragePtr = ComPtr<IVariableStorage>;
using IVariableStorage2Ptr = ComPtr<IVariableStorage2>;
