// The class factory of one of the sample's classes.
#pragma once

#include "platform/com/ClassFactory.h"
#include "samples/attributes/SampleObject.h"

template <class T>
class CSampleFactory final : public SampleObject<IClassFactory> {
public:
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
