// The object every in-process module hands out to create its classes.
#pragma once

#include "platform/com/ComBase.h"
#include "platform/com/ComPtr.h"

struct IClassFactory : IUnknown {
    // outer: an aggregating object or null; factories that cannot be
    // aggregated answer CLASS_E_NOAGGREGATION.
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** object) = 0;
    // Keeps the module loaded while locked (counted).
    STDMETHOD(LockServer)(BOOL lock) = 0;
};
DECLARE_INTERFACE_ID(IClassFactory, IID_IClassFactory);
using IClassFactoryPtr = ComPtr<IClassFactory>;

// The entry points an in-process module exports by name.
using DllGetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID clsid, REFIID riid, void** object);
using DllCanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();
using DllRegisterServerFunction = HRESULT(STDAPICALLTYPE*)();
using DllUnregisterServerFunction = HRESULT(STDAPICALLTYPE*)();
