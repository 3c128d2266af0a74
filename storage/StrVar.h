// Kind 0: narrow text; the value bytes are the text with its zero.
#pragma once

#include <string>

#include "storage/Var.h"

class CStrVar : public CVar {
public:
    explicit CStrVar(const GLOBAL_VARIABLE_INFO& info);

    bool IsDefault() const override;
    const char* AsString() const override;
    // Takes the text up to its zero, and never more than length bytes: a
    // block without a zero is taken whole.
    void SetValue(const void* bytes, unsigned length) override;
    void GetValue(void** bytes, unsigned* length) const override;
    void GetDefaultValue(void** bytes, unsigned* length) const override;
    void SetDefault() override;

    const std::string& GetText() const { return value; }
    const std::string& GetDefaultText() const { return defaultValue; }

private:
    std::string value;
    std::string defaultValue;
};
