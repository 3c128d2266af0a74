// Kind 2: an index into a list of labels; 4 value bytes.
#pragma once

#include <string>
#include <vector>

#include "storage/Var.h"

class CEnumVar : public CVar {
public:
    explicit CEnumVar(const GLOBAL_VARIABLE_INFO& info);

    bool IsDefault() const override;
    // The label at the value index; an index outside the labels shows
    // "<invalid N>" with N the index.
    const char* AsString() const override;
    // A block shorter than 4 bytes leaves the value as it is.
    void SetValue(const void* bytes, unsigned length) override;
    void GetValue(void** bytes, unsigned* length) const override;
    // The default label's text with its zero (an empty text when the
    // default index lies outside the labels).
    void GetDefaultValue(void** bytes, unsigned* length) const override;
    void SetDefault() override;

    int GetValue() const { return value; }
    int GetDefault() const { return defaultValue; }
    int GetCount() const { return count; }
    // Null for an index outside the labels.
    const char* GetLabel(int index) const;

private:
    int value = 0;
    int defaultValue = 0;
    int count = 0;
    std::vector<std::string> labels;
};
