// Reference-owning interface pointer.  Holds one reference; copying adds
// one, destruction releases it.  `Ptr` aliases of each interface use it.
#pragma once

#include <utility>

#include "platform/com/ComBase.h"

template <class I>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference on p (p may be null).
    explicit ComPtr(I* p) : ptr(p) { if (ptr) ptr->AddRef(); }
    ComPtr(const ComPtr& other) : ptr(other.ptr) { if (ptr) ptr->AddRef(); }
    ComPtr(ComPtr&& other) noexcept : ptr(std::exchange(other.ptr, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other)
    {
        ComPtr copy(other);
        std::swap(ptr, copy.ptr);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        ComPtr moved(std::move(other));
        std::swap(ptr, moved.ptr);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) { Reset(); return *this; }

    // Adopts a pointer that already carries a reference for us.
    static ComPtr Attach(I* p) { ComPtr r; r.ptr = p; return r; }
    I* Detach() { return std::exchange(ptr, nullptr); }
    void Reset() { if (I* p = std::exchange(ptr, nullptr)) p->Release(); }

    // For out-parameters: releases what is held and exposes the slot.
    I** operator&() { Reset(); return &ptr; }
    void** AsOut() { Reset(); return reinterpret_cast<void**>(&ptr); }

    I* Get() const { return ptr; }
    I* operator->() const { return ptr; }
    explicit operator bool() const { return ptr != nullptr; }
    bool operator==(const ComPtr& other) const { return ptr == other.ptr; }

    // QueryInterface into another smart pointer.
    template <class J>
    HRESULT As(ComPtr<J>& out) const
    {
        if (!ptr) return E_POINTER;
        return ptr->QueryInterface(InterfaceId<J>::value, out.AsOut());
    }

private:
    I* ptr = nullptr;
};
