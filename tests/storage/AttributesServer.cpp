// A minimal attribute component for the property-set kind's tests: the item
// "stream" has a data stream (as VT_UNKNOWN), "dispatch" an object without
// one (as VT_DISPATCH), "fail" fails, anything else is empty.
#include <atomic>
#include <cwchar>

#include "platform/com/ClassFactory.h"
#include "platform/com/ComObject.h"
#include "storage/api/Attributes.h"

#define TEST_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::atomic<long> liveObjects{0};

// An object of this module, counted while it lives.
template <class I>
class Object : public ComObject<I> {
public:
    Object() { ++liveObjects; }
    ~Object() override { --liveObjects; }
};

class Stream : public Object<IDataStorageStream> {
public:
    int32_t STDMETHODCALLTYPE Read(void*, uint32_t, uint32_t* read) override { *read = 0; return 1; }
    int32_t STDMETHODCALLTYPE Write(const void*, uint32_t size, uint32_t* written) override
    {
        *written = size;
        return 1;
    }
    int32_t STDMETHODCALLTYPE GetDataObject(IUnknown** dataObject) override { *dataObject = nullptr; return 0; }
    int32_t STDMETHODCALLTYPE GetPropsClass(BSTR* name) override { *name = nullptr; return 0; }
};

// Answers IUnknown only; handed out as a dispatch pointer.
class Plain : public Object<IUnknown> {};

class Attributes : public Object<IAttributes> {
public:
    HRESULT STDMETHODCALLTYPE GetCount(int32_t* count) override { *count = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetName(int32_t, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetValue(int32_t, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAttribute(const VARIANT*, const VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveAttribute(const VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttribute(const VARIANT* name, VARIANT* value) override
    {
        if (!name || name->vt != VT_BSTR || !value) return E_INVALIDARG;
        const wchar_t* text = name->bstrVal ? name->bstrVal : L"";
        value->vt = VT_EMPTY;
        if (std::wcscmp(text, L"fail") == 0) return E_FAIL;
        if (std::wcscmp(text, L"stream") == 0) {
            value->vt = VT_UNKNOWN;
            value->punkVal = new Stream;
        } else if (std::wcscmp(text, L"dispatch") == 0) {
            // Not a real IDispatch: only its IUnknown part is ever called.
            value->vt = VT_DISPATCH;
            value->pdispVal = reinterpret_cast<IDispatch*>(static_cast<IUnknown*>(new Plain));
        }
        return S_OK;
    }
};

class Factory : public ComInterfaces<IClassFactory> {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* attributes = new Attributes;
        const HRESULT hr = attributes->QueryInterface(riid, object);
        attributes->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory factory;

}  // namespace

TEST_EXPORT HRESULT DllGetClassObject(REFCLSID, REFIID riid, void** object)
{
    return factory.QueryInterface(riid, object);
}

TEST_EXPORT HRESULT DllCanUnloadNow() { return liveObjects == 0 ? S_OK : S_FALSE; }

// For the test: objects of this module still alive.
TEST_EXPORT long TestLiveObjects() { return liveObjects; }
