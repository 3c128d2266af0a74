// The number kinds (integer, double, single) seen alike, as the value
// editors need them: value and limits as doubles, which hold every value of
// the three kinds exactly.
#pragma once

#include "storage/Var.h"

class CNumberVar : public CVar {
public:
    using CVar::CVar;

    virtual double Number() const = 0;
    virtual double MinNumber() const = 0;
    virtual double MaxNumber() const = 0;
    virtual double StepNumber() const = 0;
};
