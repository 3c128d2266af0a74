// The picture the view parameters ask for now, for a simulation started
// with the inflow (flowVelX, flowVelY).
#pragma once

#include "sim/ViewModes.h"

ViewSettings ViewFromParameters(float flowVelX, float flowVelY);
