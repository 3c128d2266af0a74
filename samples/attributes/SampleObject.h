// The sample's objects: the shared COM object, counted among the module's
// live objects, and the module's counts that decide whether it may be
// unloaded.
#pragma once

#include <atomic>

#include "platform/com/ComObject.h"

namespace module_count {
// Objects and windows of the server that are alive.
std::atomic<long>& Live();
// Server locks taken through a class factory.
std::atomic<long>& Locks();
}  // namespace module_count

template <class... Interfaces>
class SampleObject : public ComObject<Interfaces...> {
protected:
    SampleObject() { ++module_count::Live(); }
    ~SampleObject() override { --module_count::Live(); }
};
