#include "app/GlobalIntVariable.h"

#include <cstring>

GlobalIntVariable::GlobalIntVariable(const char* name, const char* description, GlobalVariableCallback callback,
                                     GlobalVariableListener* listener, int32_t defaultValue, int32_t minimum,
                                     int32_t maximum, int32_t step, GlobalVariable** chain)
    : GlobalVariable(name, description, callback, listener, chain), value(defaultValue), defaultValue(defaultValue),
      minimum(minimum), maximum(maximum), step(step > 0 ? step : 1)
{
}

void GlobalIntVariable::Describe(GLOBAL_VARIABLE_INFO* info) const
{
    GlobalVariable::Describe(info);
    info->type = VARKIND_INT;
    info->modified = value != defaultValue ? 1 : 0;
    info->i.value = value;
    info->i.defaultValue = defaultValue;
    info->i.minimum = minimum;
    info->i.maximum = maximum;
    info->i.step = step;
    info->i.reserved = 0;
}

int GlobalIntVariable::AssignValue(const void* bytes, unsigned length)
{
    if (!bytes || length < sizeof value)
        return 0;
    std::memcpy(&value, bytes, sizeof value);
    return GlobalVariable::AssignValue(bytes, length);
}

void GlobalIntVariable::AssignValueAndDefault(const void* bytes, unsigned length)
{
    if (!bytes || length < sizeof value)
        return;
    std::memcpy(&value, bytes, sizeof value);
    defaultValue = value;
}
