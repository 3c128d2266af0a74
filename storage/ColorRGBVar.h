// Kind 6: an RGB colour; 3 value bytes red, green, blue.
#pragma once

#include <cstdint>

#include "storage/Var.h"

class CColorRGBVar : public CVar {
public:
    explicit CColorRGBVar(const GLOBAL_VARIABLE_INFO& info);

    bool IsDefault() const override;
    // "%d-%d-%d" of red, green, blue.
    const char* AsString() const override;
    // A block shorter than 3 bytes leaves the value as it is.
    void SetValue(const void* bytes, unsigned length) override;
    void GetValue(void** bytes, unsigned* length) const override;
    void GetDefaultValue(void** bytes, unsigned* length) const override;
    void SetDefault() override;

    // The three value bytes red, green, blue.
    const uint8_t* operator()() const { return value; }
    const uint8_t* GetDefault() const { return defaultValue; }

private:
    uint8_t value[3];
    uint8_t defaultValue[3];
};
