// Reference counting for the sample's objects, and the module's count of
// live objects and server locks that decides whether it may be unloaded.
#pragma once

#include <atomic>

#include "platform/com/ComBase.h"

namespace module_count {
// Objects and windows of the server that are alive.
std::atomic<long>& Live();
// Server locks taken through a class factory.
std::atomic<long>& Locks();
}  // namespace module_count

// Derived classes answer QueryInterface; this counts and deletes.
class ComObject {
public:
    ComObject() { ++module_count::Live(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    ULONG AddRefImpl() { return ++refs; }
    ULONG ReleaseImpl()
    {
        const ULONG left = --refs;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    virtual ~ComObject() { --module_count::Live(); }

private:
    std::atomic<ULONG> refs{1};
};

#define SAMPLE_COM_REFCOUNT                                           \
    STDMETHOD_(ULONG, AddRef)() override { return AddRefImpl(); }     \
    STDMETHOD_(ULONG, Release)() override { return ReleaseImpl(); }
