#include "app/GlobalFloatVariable.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Float arithmetic on purpose: the editor's step for a range of 4990 must be
// 49.899998, which a double product rounded afterwards would not give.
float DerivedStep(float minimum, float maximum, float step)
{
    if (!(step < 0.0f))
        return step;
    const float range = maximum - minimum;
    return range * 0.01f;
}
}  // namespace

GlobalFloatVariable::GlobalFloatVariable(const char* name, const char* description, GlobalVariableCallback callback,
                                         GlobalVariableListener* listener, float defaultValue, float minimum,
                                         float maximum, float step, GlobalVariable** chain)
    : GlobalVariable(name, description, callback, listener, chain), value(defaultValue), defaultValue(defaultValue),
      minimum(minimum), maximum(maximum), step(DerivedStep(minimum, maximum, step))
{
}

void GlobalFloatVariable::Describe(GLOBAL_VARIABLE_INFO* info) const
{
    GlobalVariable::Describe(info);
    info->type = VARKIND_FLOAT;
    // A NaN differs from everything, its default included.
    info->modified = !(value == defaultValue) ? 1 : 0;
    info->f.value = value;
    info->f.defaultValue = defaultValue;
    info->f.minimum = minimum;
    info->f.maximum = maximum;
    info->f.step = step;
    info->f.reserved = 0;
}

int GlobalFloatVariable::AssignValue(const void* bytes, unsigned length)
{
    if (!bytes || length < sizeof value)
        return 0;
    value = Clamped(bytes);
    return GlobalVariable::AssignValue(bytes, length);
}

void GlobalFloatVariable::AssignValueAndDefault(const void* bytes, unsigned length)
{
    if (!bytes || length < sizeof value)
        return;
    value = Clamped(bytes);
    defaultValue = value;
}

float GlobalFloatVariable::Clamped(const void* bytes) const
{
    float v;
    std::memcpy(&v, bytes, sizeof v);
    // A NaN has no place in the range to be held to; the infinities clamp
    // like any other large value.
    if (std::isnan(v))
        return defaultValue;
    return std::min(std::max(v, minimum), maximum);
}
