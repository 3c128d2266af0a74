// Kind 4: IEEE 754 single; 4 value bytes.
#pragma once

#include "storage/Var.h"

class CFltVar : public CVar {
public:
    explicit CFltVar(const GLOBAL_VARIABLE_INFO& info);

    // Exact comparison: a value that is not a number is never at its default.
    bool IsDefault() const override;
    // "%f" of the value: six decimals, no exponent.
    const char* AsString() const override;
    // A block shorter than 4 bytes leaves the value as it is.
    void SetValue(const void* bytes, unsigned length) override;
    void GetValue(void** bytes, unsigned* length) const override;
    void GetDefaultValue(void** bytes, unsigned* length) const override;
    void SetDefault() override;

    float GetValue() const { return value; }
    float GetDefault() const { return defaultValue; }
    float GetMin() const { return minimum; }
    float GetMax() const { return maximum; }
    float GetStep() const { return step; }
    int GetReserved() const { return reserved; }

private:
    float value = 0;
    float defaultValue = 0;
    float minimum = 0;
    float maximum = 0;
    float step = 0;
    int reserved = 0;
};
