// The module's four exported entry points.
#include "component/ModuleState.h"
#include "component/VariableStorageFactory.h"
#include "platform/com/Com.h"
#include "storage/api/VariableStorage.h"

#define QUILLET_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
constexpr InProcServerEntry kEntry = {CLSID_VariableStorage, kVariableStorageProgId, "Variable Storage component",
                                      "Apartment"};
}  // namespace

QUILLET_EXPORT HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    if (clsid != CLSID_VariableStorage) return CLASS_E_CLASSNOTAVAILABLE;
    return CVariableStorageFactory::Get().QueryInterface(riid, object);
}

QUILLET_EXPORT HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ModuleState::CanUnload() ? S_OK : S_FALSE; }

QUILLET_EXPORT HRESULT STDAPICALLTYPE DllRegisterServer()
{
    return RegisterInProcServer(kEntry, ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer)));
}

QUILLET_EXPORT HRESULT STDAPICALLTYPE DllUnregisterServer() { return UnregisterInProcServer(kEntry); }
