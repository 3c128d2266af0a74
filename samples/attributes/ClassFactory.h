// The class factory of one of the sample's classes.
#pragma once

#include "platform/com/ClassFactory.h"
#include "samples/attributes/ComObject.h"

template <class T>
class CSampleFactory final : public ComObject, public IClassFactory {
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRefImpl();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    SAMPLE_COM_REFCOUNT

    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        T* created = new T;
        const HRESULT hr = created->QueryInterface(riid, object);
        created->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL lock) override
    {
        if (lock)
            ++module_count::Locks();
        else
            --module_count::Locks();
        return S_OK;
    }
};
