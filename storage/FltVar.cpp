#include "storage/FltVar.h"

#include <cstdio>
#include <cstring>

CFltVar::CFltVar(const GLOBAL_VARIABLE_INFO& info) : CVar(info)
{
    if (info.type != VARKIND_FLOAT) return;
    value = info.f.value;
    defaultValue = info.f.defaultValue;
    minimum = info.f.minimum;
    maximum = info.f.maximum;
    step = info.f.step;
    reserved = info.f.reserved;
}

bool CFltVar::IsDefault() const { return value == defaultValue; }

const char* CFltVar::AsString() const
{
    // "%f" of a large number runs to hundreds of digits; size the text first.
    const double shown = value;
    const int size = std::snprintf(nullptr, 0, "%f", shown);
    text.resize(size > 0 ? static_cast<size_t>(size) : 0);
    std::snprintf(text.data(), text.size() + 1, "%f", shown);
    return text.c_str();
}

void CFltVar::SetValue(const void* bytes, unsigned length)
{
    if (bytes && length >= sizeof value) std::memcpy(&value, bytes, sizeof value);
    CVar::SetValue(bytes, length);
}

void CFltVar::GetValue(void** bytes, unsigned* length) const { CopyOut(&value, sizeof value, bytes, length); }

void CFltVar::GetDefaultValue(void** bytes, unsigned* length) const
{
    CopyOut(&defaultValue, sizeof defaultValue, bytes, length);
}

void CFltVar::SetDefault()
{
    value = defaultValue;
    CVar::SetValue(&value, sizeof value);
}
