#include "storage/ColorRGBVar.h"

#include <cstring>

// The creator has matched the kind already, so the record is read as it stands.
CColorRGBVar::CColorRGBVar(const GLOBAL_VARIABLE_INFO& info) : CVar(info)
{
    std::memcpy(value, info.rgb.value, sizeof value);
    std::memcpy(defaultValue, info.rgb.defaultValue, sizeof defaultValue);
}

bool CColorRGBVar::IsDefault() const { return std::memcmp(value, defaultValue, sizeof value) == 0; }

const char* CColorRGBVar::AsString() const
{
    text = std::to_string(value[0]) + "-" + std::to_string(value[1]) + "-" + std::to_string(value[2]);
    return text.c_str();
}

void CColorRGBVar::SetValue(const void* bytes, unsigned length)
{
    if (bytes && length >= sizeof value) std::memcpy(value, bytes, sizeof value);
    CVar::SetValue(bytes, length);
}

void CColorRGBVar::GetValue(void** bytes, unsigned* length) const { CopyOut(value, sizeof value, bytes, length); }

void CColorRGBVar::GetDefaultValue(void** bytes, unsigned* length) const
{
    CopyOut(defaultValue, sizeof defaultValue, bytes, length);
}

void CColorRGBVar::SetDefault()
{
    std::memcpy(value, defaultValue, sizeof value);
    CVar::SetValue(value, sizeof value);
}
