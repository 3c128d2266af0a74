// A minimal in-process server: one class, its factory and the four entry
// points.  Setting COMTEST_FAIL_REGISTER makes registration report failure.
#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/com/Com.h"
#include "platform/com/ComObject.h"
#include "tests/com/TestServer.h"

namespace {

std::atomic<int32_t> liveObjects{0};
std::atomic<int32_t> serverLocks{0};
int moduleState = 0;

const InProcServerEntry kEntry = {CLSID_TestObject, kTestProgId, kTestDescription, "Apartment"};

class CTestObject final : public ComObject<ITestObject> {
public:
    CTestObject() { ++liveObjects; }
    ~CTestObject() override { --liveObjects; }

    STDMETHOD_(int32_t, LiveObjects)() override { return liveObjects; }
    STDMETHOD_(const void*, ModuleState)() override { return &moduleState; }
};

// Lives as long as the module; its references count as server locks.
class CTestFactory final : public ComInterfaces<IClassFactory> {
public:
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++serverLocks); }
    STDMETHOD_(ULONG, Release)() override { return static_cast<ULONG>(--serverLocks); }
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** object) override
    {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        CTestObject* created = new (std::nothrow) CTestObject;
        if (!created) return E_OUTOFMEMORY;
        const HRESULT hr = created->QueryInterface(riid, object);
        created->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL lock) override
    {
        serverLocks += lock ? 1 : -1;
        return S_OK;
    }
};
CTestFactory factory;

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    if (clsid != CLSID_TestObject) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(riid, object);
}

STDAPI DllCanUnloadNow() { return liveObjects == 0 && serverLocks == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer()
{
    if (std::getenv("COMTEST_FAIL_REGISTER")) return E_FAIL;
    return RegisterInProcServer(kEntry, ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer)));
}

STDAPI DllUnregisterServer() { return UnregisterInProcServer(kEntry); }
