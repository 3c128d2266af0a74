// Builds the variable object of a client's record: the class follows the
// kind number.  Null for a number that is not a variable kind.
#pragma once

#include <memory>

#include "storage/Var.h"

std::unique_ptr<CVar> CreateVar(const GLOBAL_VARIABLE_INFO& info);
