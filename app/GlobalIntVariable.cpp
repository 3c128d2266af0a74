#include "app/GlobalIntVariable.h"

#include <algorithm>
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
    value = Clamped(bytes);
    return GlobalVariable::AssignValue(bytes, length);
}

void GlobalIntVariable::AssignValueAndDefault(const void* bytes, unsigned length)
{
    if (!bytes || length < sizeof value)
        return;
    value = Clamped(bytes);
    defaultValue = value;
}

int32_t GlobalIntVariable::Clamped(const void* bytes) const
{
    int32_t v;
    std::memcpy(&v, bytes, sizeof v);
    // min before max: a wrapper built with the bounds crossed still gets a
    // defined answer.
    return std::min(std::max(v, minimum), maximum);
}
