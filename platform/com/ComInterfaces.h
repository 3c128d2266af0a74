// The one QueryInterface of every object in this layer: it answers the
// interfaces listed, in order, and IUnknown through the first of them, so
// that an object has one identity whichever interface it is asked through.
// Counting is left to the class: heap objects use ComObject; objects that
// live elsewhere (a factory pinned to its module, a test's stack double)
// count in their own way.
#pragma once

#include <tuple>

#include "platform/com/ComBase.h"

template <class... Interfaces>
class ComInterfaces : public Interfaces... {
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** object) override
    {
        if (!object) return E_POINTER;
        *object = InterfaceFor(riid);
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    // One AddRef and one Release serve every listed interface.
    STDMETHOD_(ULONG, AddRef)() override = 0;
    STDMETHOD_(ULONG, Release)() override = 0;

protected:
    ComInterfaces() = default;
    ~ComInterfaces() = default;

    // The pointer that answers riid, without a reference; null when none does.
    void* InterfaceFor(REFIID riid)
    {
        using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
        if (riid == IID_IUnknown) return static_cast<IUnknown*>(static_cast<First*>(this));
        void* found = nullptr;
        ((found = found ? found : riid == InterfaceId<Interfaces>::value ? static_cast<Interfaces*>(this) : nullptr),
         ...);
        return found;
    }
};
