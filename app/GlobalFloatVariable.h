// A 32-bit float parameter with its range and editor step.
#pragma once

#include "app/GlobalVariable.h"

class GlobalFloatVariable : public GlobalVariable {
public:
    // A negative step asks for a hundredth of the range, in float arithmetic.
    GlobalFloatVariable(const char* name, const char* description, GlobalVariableCallback callback,
                        GlobalVariableListener* listener, float defaultValue, float minimum, float maximum,
                        float step, GlobalVariable** chain = &globalVariableChain);

    void Describe(GLOBAL_VARIABLE_INFO* info) const override;
    // Values shorter than 4 bytes are ignored: nothing stored, nobody told.
    // The value is held to [minimum, maximum]; a NaN becomes the default.
    int AssignValue(const void* bytes, unsigned length) override;
    void AssignValueAndDefault(const void* bytes, unsigned length) override;

    float Value() const { return value; }
    operator float() const { return value; }
    float Default() const { return defaultValue; }
    float Minimum() const { return minimum; }
    float Maximum() const { return maximum; }
    float Step() const { return step; }

private:
    float Clamped(const void* bytes) const;

    float value;
    float defaultValue;
    float minimum;
    float maximum;
    float step;
};
