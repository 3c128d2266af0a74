// The class factory of the storage component.  While an object is alive,
// every creation answers with that same object.
#pragma once

#include <atomic>

#include "platform/com/ClassFactory.h"
#include "platform/com/ComInterfaces.h"

class CVariableStorageFactory : public ComInterfaces<IClassFactory> {
public:
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** object) override;
    STDMETHOD(LockServer)(BOOL lock) override;

    // The module's one factory; it lives as long as the module.
    static CVariableStorageFactory& Get();
};

// The factory's object creation, callable without the factory.
HRESULT CreateVariableStorage(REFIID riid, void** object);
