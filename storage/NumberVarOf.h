// One number kind: the value, default, limits and step in the kind's own
// type T, read from the kind's member of the client's record.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

#include "storage/NumberVar.h"

// Which record member and kind number belong to a value type.
template <class T> struct NumberKind;
template <> struct NumberKind<int32_t> {
    static constexpr int32_t kind = VARKIND_INT;
    static const auto& Of(const GLOBAL_VARIABLE_INFO& info) { return info.i; }
};
template <> struct NumberKind<double> {
    static constexpr int32_t kind = VARKIND_DOUBLE;
    static const auto& Of(const GLOBAL_VARIABLE_INFO& info) { return info.d; }
};
template <> struct NumberKind<float> {
    static constexpr int32_t kind = VARKIND_FLOAT;
    static const auto& Of(const GLOBAL_VARIABLE_INFO& info) { return info.f; }
};

template <class T>
class CNumberVarOf final : public CNumberVar {
public:
    // A record of another kind gives zeros rather than reading the wrong
    // member of the record.
    explicit CNumberVarOf(const GLOBAL_VARIABLE_INFO& info) : CNumberVar(info)
    {
        if (info.type != NumberKind<T>::kind) return;
        const auto& r = NumberKind<T>::Of(info);
        value = r.value;
        defaultValue = r.defaultValue;
        minimum = r.minimum;
        maximum = r.maximum;
        step = r.step;
        reserved = r.reserved;
    }

    bool IsDefault() const override { return value == defaultValue; }
    const char* AsString() const override
    {
        if constexpr (std::is_integral_v<T>) {
            text = std::to_string(value);
        } else {
            // "%f" of a large number runs to hundreds of digits; size the text first.
            const double shown = value;
            const int size = std::snprintf(nullptr, 0, "%f", shown);
            text.resize(size > 0 ? static_cast<size_t>(size) : 0);
            std::snprintf(text.data(), text.size() + 1, "%f", shown);
        }
        return text.c_str();
    }
    // A block shorter than the kind's size leaves the value as it is.
    void SetValue(const void* bytes, unsigned length) override
    {
        if (bytes && length >= sizeof value) std::memcpy(&value, bytes, sizeof value);
        CVar::SetValue(bytes, length);
    }
    void GetValue(void** bytes, unsigned* length) const override { CopyOut(&value, sizeof value, bytes, length); }
    void GetDefaultValue(void** bytes, unsigned* length) const override
    {
        CopyOut(&defaultValue, sizeof defaultValue, bytes, length);
    }
    void SetDefault() override
    {
        value = defaultValue;
        CVar::SetValue(&value, sizeof value);
    }

    double Number() const override { return value; }
    double MinNumber() const override { return minimum; }
    double MaxNumber() const override { return maximum; }
    double StepNumber() const override { return step; }

    T GetValue() const { return value; }
    T GetDefault() const { return defaultValue; }
    T GetMin() const { return minimum; }
    T GetMax() const { return maximum; }
    T GetStep() const { return step; }
    int GetReserved() const { return reserved; }

private:
    T value = 0;
    T defaultValue = 0;
    T minimum = 0;
    T maximum = 0;
    T step = 0;
    int reserved = 0;
};
