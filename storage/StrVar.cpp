#include "storage/StrVar.h"

#include <cstring>

CStrVar::CStrVar(const GLOBAL_VARIABLE_INFO& info) : CVar(info)
{
    if (info.type == VARKIND_STRING) {
        if (info.str.value) value = info.str.value;
        if (info.str.defaultValue) defaultValue = info.str.defaultValue;
    }
}

bool CStrVar::IsDefault() const { return value == defaultValue; }

const char* CStrVar::AsString() const { return value.c_str(); }

void CStrVar::SetValue(const void* bytes, unsigned length)
{
    if (bytes) {
        const char* text = static_cast<const char*>(bytes);
        const void* zero = std::memchr(text, 0, length);
        value.assign(text, zero ? static_cast<const char*>(zero) - text : length);
    } else {
        value.clear();
    }
    CVar::SetValue(bytes, length);
}

void CStrVar::GetValue(void** bytes, unsigned* length) const
{
    CopyOut(value.c_str(), static_cast<unsigned>(value.size() + 1), bytes, length);
}

void CStrVar::GetDefaultValue(void** bytes, unsigned* length) const
{
    CopyOut(defaultValue.c_str(), static_cast<unsigned>(defaultValue.size() + 1), bytes, length);
}

void CStrVar::SetDefault()
{
    value = defaultValue;
    CVar::SetValue(value.c_str(), static_cast<unsigned>(value.size() + 1));
}
