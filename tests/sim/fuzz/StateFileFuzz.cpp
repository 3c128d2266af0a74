// Saved-state bytes as a load hands them over; whatever decodes must encode
// to the very same bytes, or a load and a save would not agree.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sim/StateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The decoder reads the fixed header without a length check of its own
    // only after the size test; an empty input has no pointer to offer.
    static const uint8_t kNothing = 0;
    SimulationState state;
    if (!DecodeState(size ? data : &kNothing, size, state).empty())
        return 0;
    const std::vector<char> again = EncodeState(state);
    if (again.size() != size || std::memcmp(again.data(), data, size) != 0)
        std::abort();
    return 0;
}
