#include "app/BlowUpCheck.h"

bool BlowUpCheck::Due(uint32_t now)
{
    // Unsigned: right across the wrap of the tick count.
    if (now - lastCheckTick <= 1000)
        return false;
    lastCheckTick = now;
    return true;
}

std::string BlowUpMessage(int64_t step)
{
    return "The flow has blown up: by step " + std::to_string(step) +
           " the lattice holds values that are not finite numbers or far beyond any flow, and the simulation has stopped.\n\n"
           "To keep the flow stable, lower the flow velocity (init|flowVelX, init|flowVelY), raise the viscosity "
           "(a lower runtime|invViscosity) or choose the stabilised collision (runtime|collision = Smagorinsky); "
           "then reset with Simulation \u2192 Reset or Reset Flow.";
}
