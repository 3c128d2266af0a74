// A parameter that selects one of a fixed list of labels by index.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/GlobalVariable.h"

class GlobalEnumVariable : public GlobalVariable {
public:
    // Labels in index order; a null entry ends the list early.
    GlobalEnumVariable(const char* name, const char* description, GlobalVariableCallback callback,
                       GlobalVariableListener* listener, int32_t defaultIndex,
                       std::initializer_list<const char*> labels, GlobalVariable** chain = &globalVariableChain);

    void Describe(GLOBAL_VARIABLE_INFO* info) const override;
    // Values shorter than 4 bytes are ignored: nothing stored, nobody told.
    // An index that names no label becomes the default index.
    int AssignValue(const void* bytes, unsigned length) override;
    void AssignValueAndDefault(const void* bytes, unsigned length) override;

    int32_t Value() const { return value; }
    operator int32_t() const { return value; }
    int32_t Default() const { return defaultValue; }
    uint32_t LabelCount() const { return static_cast<uint32_t>(labels.size()); }
    const char* Label(uint32_t index) const { return labels.at(index).c_str(); }

private:
    int32_t Checked(const void* bytes) const;

    int32_t value;
    int32_t defaultValue;
    std::vector<std::string> labels;
    // The array the record points at; its texts are those of labels.
    std::vector<const char*> labelArray;
};
