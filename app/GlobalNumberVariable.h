// A number parameter (32-bit integer or float) with its range and editor
// step, described to the component in the kind's member of the record.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "app/GlobalVariable.h"

template <class T>
class GlobalNumberVariable : public GlobalVariable {
    static_assert(std::is_same_v<T, int32_t> || std::is_same_v<T, float>);

public:
    // An integer step of 0 or less asks for the step 1; a negative float
    // step asks for a hundredth of the range, in float arithmetic.
    GlobalNumberVariable(const char* name, const char* description, GlobalVariableCallback callback,
                         GlobalVariableListener* listener, T defaultValue, T minimum, T maximum, T step,
                         GlobalVariable** chain = &globalVariableChain)
        : GlobalVariable(name, description, callback, listener, chain), value(defaultValue),
          defaultValue(defaultValue), minimum(minimum), maximum(maximum), step(UsableStep(minimum, maximum, step))
    {
    }

    void Describe(GLOBAL_VARIABLE_INFO* info) const override
    {
        GlobalVariable::Describe(info);
        // A NaN differs from everything, its default included.
        info->modified = !(value == defaultValue) ? 1 : 0;
        if constexpr (std::is_same_v<T, int32_t>) {
            info->type = VARKIND_INT;
            info->i = {value, defaultValue, minimum, maximum, step, 0};
        } else {
            info->type = VARKIND_FLOAT;
            info->f = {value, defaultValue, minimum, maximum, step, 0};
        }
    }
    // Values shorter than 4 bytes are ignored: nothing stored, nobody told.
    // Saved files and imports are not trusted: the value is held to
    // [minimum, maximum] (a NaN becomes the default), and what is stored is
    // what the next save writes.
    int AssignValue(const void* bytes, unsigned length) override
    {
        if (!bytes || length < sizeof value)
            return 0;
        value = Clamped(bytes);
        return GlobalVariable::AssignValue(bytes, length);
    }
    void AssignValueAndDefault(const void* bytes, unsigned length) override
    {
        if (!bytes || length < sizeof value)
            return;
        value = Clamped(bytes);
        defaultValue = value;
    }

    T Value() const { return value; }
    operator T() const { return value; }
    T Default() const { return defaultValue; }
    T Minimum() const { return minimum; }
    T Maximum() const { return maximum; }
    T Step() const { return step; }

private:
    static T UsableStep(T minimum, T maximum, T step)
    {
        if constexpr (std::is_same_v<T, int32_t>) {
            return step > 0 ? step : 1;
        } else {
            // Float arithmetic on purpose: the editor's step for a range of
            // 4990 must be 49.899998, which a double product rounded
            // afterwards would not give.
            if (!(step < 0.0f))
                return step;
            const float range = maximum - minimum;
            return range * 0.01f;
        }
    }

    T Clamped(const void* bytes) const
    {
        T v;
        std::memcpy(&v, bytes, sizeof v);
        // A NaN has no place in the range to be held to; the infinities
        // clamp like any other large value.
        if constexpr (std::is_floating_point_v<T>)
            if (std::isnan(v))
                return defaultValue;
        // min before max: a parameter built with the bounds crossed still
        // gets a defined answer.
        return std::min(std::max(v, minimum), maximum);
    }

    T value;
    T defaultValue;
    T minimum;
    T maximum;
    T step;
};
