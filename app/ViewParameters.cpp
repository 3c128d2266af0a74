#include "app/ViewParameters.h"

#include <cmath>

#include "app/Parameters.h"

ViewSettings ViewFromParameters(float flowVelX, float flowVelY)
{
    return {ViewModeFromIndex(params::viewMode), params::brightness, std::hypot(flowVelX, flowVelY)};
}
