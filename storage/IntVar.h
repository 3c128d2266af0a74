// Kind 1: signed 32-bit integer; 4 value bytes.
#pragma once

#include "storage/Var.h"

class CIntVar : public CVar {
public:
    explicit CIntVar(const GLOBAL_VARIABLE_INFO& info);

    bool IsDefault() const override;
    const char* AsString() const override;
    // A block shorter than 4 bytes leaves the value as it is.
    void SetValue(const void* bytes, unsigned length) override;
    void GetValue(void** bytes, unsigned* length) const override;
    void GetDefaultValue(void** bytes, unsigned* length) const override;
    void SetDefault() override;

    int GetValue() const { return value; }
    int GetDefault() const { return defaultValue; }
    int GetMin() const { return minimum; }
    int GetMax() const { return maximum; }
    int GetStep() const { return step; }
    int GetReserved() const { return reserved; }

private:
    int value;
    int defaultValue;
    int minimum;
    int maximum;
    int step;
    int reserved;
};
