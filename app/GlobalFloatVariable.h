// A 32-bit float parameter with its range and editor step.
#pragma once

#include "app/GlobalNumberVariable.h"

using GlobalFloatVariable = GlobalNumberVariable<float>;
