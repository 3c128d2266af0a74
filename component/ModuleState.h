// What keeps the component's module loaded: live objects and factory locks.
#pragma once

#include <atomic>

struct ModuleState {
    static inline std::atomic<long> objects{0};
    static inline std::atomic<long> locks{0};
    static bool CanUnload() { return objects.load() == 0 && locks.load() == 0; }
};
