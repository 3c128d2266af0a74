#include "component/VariableStorageFactory.h"

#include <new>

#include "component/ModuleState.h"
#include "component/SingleWrapper.h"
#include "component/VariableStorageImpl.h"

using SingleStorage = CSingleWrapper<CVariableStorageImpl>;

HRESULT CreateVariableStorage(REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    if (SingleStorage* live = SingleStorage::Instance) return live->QueryInterface(riid, object);

    SingleStorage* created = nullptr;
    try {
        created = new SingleStorage;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    // Held across the query so that a refused interface destroys the object again.
    created->AddRef();
    const HRESULT hr = created->QueryInterface(riid, object);
    created->Release();
    return hr;
}

HRESULT CVariableStorageFactory::QueryInterface(REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// The factory is static; references to it keep the module loaded instead.
ULONG CVariableStorageFactory::AddRef() { return static_cast<ULONG>(++ModuleState::locks); }

ULONG CVariableStorageFactory::Release() { return static_cast<ULONG>(--ModuleState::locks); }

HRESULT CVariableStorageFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object)
{
    if (object) *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return CreateVariableStorage(riid, object);
}

HRESULT CVariableStorageFactory::LockServer(BOOL lock)
{
    if (lock) ++ModuleState::locks;
    else --ModuleState::locks;
    return S_OK;
}

CVariableStorageFactory& CVariableStorageFactory::Get()
{
    static CVariableStorageFactory factory;
    return factory;
}
