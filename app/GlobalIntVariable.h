// A 32-bit signed integer parameter with its range and editor step.
#pragma once

#include <cstdint>

#include "app/GlobalVariable.h"

class GlobalIntVariable : public GlobalVariable {
public:
    // A step of 0 or less asks for the step 1.
    GlobalIntVariable(const char* name, const char* description, GlobalVariableCallback callback,
                      GlobalVariableListener* listener, int32_t defaultValue, int32_t minimum, int32_t maximum,
                      int32_t step, GlobalVariable** chain = &globalVariableChain);

    void Describe(GLOBAL_VARIABLE_INFO* info) const override;
    // Values shorter than 4 bytes are ignored: nothing stored, nobody told.
    // Saved files and imports are not trusted: the value is held to
    // [minimum, maximum], and what is stored is what the next save writes.
    int AssignValue(const void* bytes, unsigned length) override;
    void AssignValueAndDefault(const void* bytes, unsigned length) override;

    int32_t Value() const { return value; }
    operator int32_t() const { return value; }
    int32_t Default() const { return defaultValue; }
    int32_t Minimum() const { return minimum; }
    int32_t Maximum() const { return maximum; }
    int32_t Step() const { return step; }

private:
    int32_t Clamped(const void* bytes) const;

    int32_t value;
    int32_t defaultValue;
    int32_t minimum;
    int32_t maximum;
    int32_t step;
};
