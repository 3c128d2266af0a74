// Kind 3: IEEE 754 double; 8 value bytes.
#pragma once

#include "storage/Var.h"

class CDblVar : public CVar {
public:
    explicit CDblVar(const GLOBAL_VARIABLE_INFO& info);

    // Exact comparison: a value that is not a number is never at its default.
    bool IsDefault() const override;
    // "%f" of the value: six decimals, no exponent.
    const char* AsString() const override;
    // A block shorter than 8 bytes leaves the value as it is.
    void SetValue(const void* bytes, unsigned length) override;
    void GetValue(void** bytes, unsigned* length) const override;
    void GetDefaultValue(void** bytes, unsigned* length) const override;
    void SetDefault() override;

    double GetValue() const { return value; }
    double GetDefault() const { return defaultValue; }
    double GetMin() const { return minimum; }
    double GetMax() const { return maximum; }
    double GetStep() const { return step; }
    int GetReserved() const { return reserved; }

private:
    double value = 0;
    double defaultValue = 0;
    double minimum = 0;
    double maximum = 0;
    double step = 0;
    int reserved = 0;
};
