// Kind 4: IEEE 754 single; 4 value bytes.
#pragma once

#include "storage/NumberVarOf.h"

using CFltVar = CNumberVarOf<float>;
