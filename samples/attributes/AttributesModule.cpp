// The sample attribute server's four exported entry points: the attribute
// component, its properties class, the attribute set and the property
// editor.
#include "platform/com/Com.h"
#include "samples/attributes/AttributeSet.h"
#include "samples/attributes/ClassFactory.h"
#include "samples/attributes/PropertyEditor.h"
#include "samples/attributes/SampleAttributes.h"
#include "samples/attributes/SampleIds.h"
#include "samples/attributes/StreamProps.h"

#define SAMPLE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr InProcServerEntry kEntries[] = {
    {CLSID_SampleAttributes, kSampleAttributesProgId, "Sample attribute component", "Apartment"},
    {CLSID_SampleStreamProps, kSampleStreamPropsProgId, "Sample stream properties", "Apartment"},
    {CLSID_AttributeSet, kAttributeSetProgId, "Attribute set", "Apartment"},
    {CLSID_PropertyEditor, kPropertyEditorProgId, "Property editor", "Apartment"},
};

template <class T>
HRESULT Factory(REFIID riid, void** object)
{
    auto* factory = new CSampleFactory<T>;
    const HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
}

}  // namespace

SAMPLE_EXPORT HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (clsid == CLSID_SampleAttributes)
        return Factory<CSampleAttributes>(riid, object);
    if (clsid == CLSID_SampleStreamProps)
        return Factory<CStreamProps>(riid, object);
    if (clsid == CLSID_AttributeSet)
        return Factory<CAttributeSet>(riid, object);
    if (clsid == CLSID_PropertyEditor)
        return Factory<CPropertyEditor>(riid, object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

SAMPLE_EXPORT HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return module_count::Live() == 0 && module_count::Locks() == 0 ? S_OK : S_FALSE;
}

SAMPLE_EXPORT HRESULT STDAPICALLTYPE DllRegisterServer()
{
    const std::string path = ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer));
    for (const InProcServerEntry& entry : kEntries) {
        const HRESULT hr = RegisterInProcServer(entry, path);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

SAMPLE_EXPORT HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    HRESULT result = S_OK;
    for (const InProcServerEntry& entry : kEntries)
        if (FAILED(UnregisterInProcServer(entry)))
            result = static_cast<HRESULT>(0x80040200u);  // SELFREG_E_CLASS
    return result;
}
