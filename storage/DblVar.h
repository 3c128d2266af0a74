// Kind 3: IEEE 754 double; 8 value bytes.
#pragma once

#include "storage/NumberVarOf.h"

using CDblVar = CNumberVarOf<double>;
