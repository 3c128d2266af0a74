#include "samples/attributes/SampleObject.h"

namespace module_count {

std::atomic<long>& Live()
{
    static std::atomic<long> live{0};
    return live;
}

std::atomic<long>& Locks()
{
    static std::atomic<long> locks{0};
    return locks;
}

}  // namespace module_count
