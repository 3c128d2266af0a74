#include "storage/IntVar.h"

#include <cstring>

// The creator has matched the kind already, so the record is read as it stands.
CIntVar::CIntVar(const GLOBAL_VARIABLE_INFO& info)
    : CVar(info),
      value(info.i.value),
      defaultValue(info.i.defaultValue),
      minimum(info.i.minimum),
      maximum(info.i.maximum),
      step(info.i.step),
      reserved(info.i.reserved)
{
}

bool CIntVar::IsDefault() const { return value == defaultValue; }

const char* CIntVar::AsString() const
{
    text = std::to_string(value);
    return text.c_str();
}

void CIntVar::SetValue(const void* bytes, unsigned length)
{
    if (bytes && length >= sizeof value) std::memcpy(&value, bytes, sizeof value);
    CVar::SetValue(bytes, length);
}

void CIntVar::GetValue(void** bytes, unsigned* length) const { CopyOut(&value, sizeof value, bytes, length); }

void CIntVar::GetDefaultValue(void** bytes, unsigned* length) const
{
    CopyOut(&defaultValue, sizeof defaultValue, bytes, length);
}

void CIntVar::SetDefault()
{
    value = defaultValue;
    CVar::SetValue(&value, sizeof value);
}
