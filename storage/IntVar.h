// Kind 1: signed 32-bit integer; 4 value bytes.
#pragma once

#include "storage/NumberVarOf.h"

using CIntVar = CNumberVarOf<int32_t>;
