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
    // The creation reference is held across the query, so that a refused
    // interface destroys the object again.
    const HRESULT hr = created->QueryInterface(riid, object);
    created->Release();
    return hr;
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
