#include "app/GlobalEnumVariable.h"

#include <cstring>

GlobalEnumVariable::GlobalEnumVariable(const char* name, const char* description, GlobalVariableCallback callback,
                                       GlobalVariableListener* listener, int32_t defaultIndex,
                                       std::initializer_list<const char*> labelList, GlobalVariable** chain)
    : GlobalVariable(name, description, callback, listener, chain), value(defaultIndex), defaultValue(defaultIndex)
{
    for (const char* label : labelList) {
        if (!label)
            break;
        labels.emplace_back(label);
    }
    for (const std::string& label : labels)
        labelArray.push_back(label.c_str());
}

void GlobalEnumVariable::Describe(GLOBAL_VARIABLE_INFO* info) const
{
    GlobalVariable::Describe(info);
    info->type = VARKIND_ENUM;
    info->modified = value != defaultValue ? 1 : 0;
    info->e.value = value;
    info->e.defaultValue = defaultValue;
    info->e.count = LabelCount();
    info->e.labels = labelArray.data();
}

int GlobalEnumVariable::AssignValue(const void* bytes, unsigned length)
{
    if (!bytes || length < sizeof value)
        return 0;
    value = Checked(bytes);
    return GlobalVariable::AssignValue(bytes, length);
}

void GlobalEnumVariable::AssignValueAndDefault(const void* bytes, unsigned length)
{
    if (!bytes || length < sizeof value)
        return;
    value = Checked(bytes);
    defaultValue = value;
}

int32_t GlobalEnumVariable::Checked(const void* bytes) const
{
    int32_t v;
    std::memcpy(&v, bytes, sizeof v);
    // The nearest label would be a guess; the default is the documented one.
    if (v < 0 || static_cast<uint32_t>(v) >= LabelCount())
        return defaultValue;
    return v;
}
