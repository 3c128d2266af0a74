#include "storage/DblVar.h"

#include <cstdio>
#include <cstring>

CDblVar::CDblVar(const GLOBAL_VARIABLE_INFO& info) : CVar(info)
{
    if (info.type != VARKIND_DOUBLE) return;
    value = info.d.value;
    defaultValue = info.d.defaultValue;
    minimum = info.d.minimum;
    maximum = info.d.maximum;
    step = info.d.step;
    reserved = info.d.reserved;
}

bool CDblVar::IsDefault() const { return value == defaultValue; }

const char* CDblVar::AsString() const
{
    // "%f" of a large number runs to hundreds of digits; size the text first.
    const double shown = value;
    const int size = std::snprintf(nullptr, 0, "%f", shown);
    text.resize(size > 0 ? static_cast<size_t>(size) : 0);
    std::snprintf(text.data(), text.size() + 1, "%f", shown);
    return text.c_str();
}

void CDblVar::SetValue(const void* bytes, unsigned length)
{
    if (bytes && length >= sizeof value) std::memcpy(&value, bytes, sizeof value);
    CVar::SetValue(bytes, length);
}

void CDblVar::GetValue(void** bytes, unsigned* length) const { CopyOut(&value, sizeof value, bytes, length); }

void CDblVar::GetDefaultValue(void** bytes, unsigned* length) const
{
    CopyOut(&defaultValue, sizeof defaultValue, bytes, length);
}

void CDblVar::SetDefault()
{
    value = defaultValue;
    CVar::SetValue(&value, sizeof value);
}
