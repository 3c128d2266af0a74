// The watch for a flow that has blown up.  A diverging lattice fills with
// huge values, infinities and NaNs within a few hundred steps and the
// picture turns to noise; the window looks at its lattice about once a
// second (one pass over it, a small fraction of a second's steps), stops
// stepping when it has blown up and tells the user once what to change.
#pragma once

#include <cstdint>
#include <string>

struct BlowUpCheck {
    uint32_t lastCheckTick = 0;

    void Restart(uint32_t now) { lastCheckTick = now; }
    // True when more than 1000 ms have passed since the last check; the
    // next one is then a second away.
    bool Due(uint32_t now);
};

// What happened, by which step, and what keeps the flow stable.
std::string BlowUpMessage(int64_t step);
