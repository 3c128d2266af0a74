// A 32-bit signed integer parameter with its range and editor step.
#pragma once

#include "app/GlobalNumberVariable.h"

using GlobalIntVariable = GlobalNumberVariable<int32_t>;
