// A heap object of this layer: the shared QueryInterface and one reference
// count.  An object is born holding one reference, its creator's; the creator
// hands that reference on (ComPtr::Attach, an out-parameter) or gives it back
// with Release.  The last Release deletes the object; nothing else does.
#pragma once

#include <atomic>

#include "platform/com/ComInterfaces.h"

template <class... Interfaces>
class ComObject : public ComInterfaces<Interfaces...> {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHOD_(ULONG, AddRef)() override { return ++references; }
    STDMETHOD_(ULONG, Release)() override
    {
        const ULONG left = --references;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

private:
    std::atomic<ULONG> references{1};
};
