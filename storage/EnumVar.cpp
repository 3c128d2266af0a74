#include "storage/EnumVar.h"

#include <cstring>

CEnumVar::CEnumVar(const GLOBAL_VARIABLE_INFO& info) : CVar(info)
{
    if (info.type != VARKIND_ENUM) return;
    value = info.e.value;
    defaultValue = info.e.defaultValue;
    // Without a label array there is nothing to count.
    if (info.e.labels) {
        labels.reserve(info.e.count);
        for (uint32_t i = 0; i < info.e.count; ++i)
            labels.emplace_back(info.e.labels[i] ? info.e.labels[i] : "");
    }
    count = static_cast<int>(labels.size());
}

bool CEnumVar::IsDefault() const { return value == defaultValue; }

const char* CEnumVar::GetLabel(int index) const
{
    if (index < 0 || index >= count) return nullptr;
    return labels[static_cast<size_t>(index)].c_str();
}

const char* CEnumVar::AsString() const
{
    if (const char* label = GetLabel(value)) return label;
    text = "<invalid " + std::to_string(value) + ">";
    return text.c_str();
}

void CEnumVar::SetValue(const void* bytes, unsigned length)
{
    if (bytes && length >= sizeof value) std::memcpy(&value, bytes, sizeof value);
    CVar::SetValue(bytes, length);
}

void CEnumVar::GetValue(void** bytes, unsigned* length) const { CopyOut(&value, sizeof value, bytes, length); }

void CEnumVar::GetDefaultValue(void** bytes, unsigned* length) const
{
    const char* label = GetLabel(defaultValue);
    if (!label) label = "";
    CopyOut(label, static_cast<unsigned>(std::strlen(label) + 1), bytes, length);
}

void CEnumVar::SetDefault()
{
    value = defaultValue;
    CVar::SetValue(&value, sizeof value);
}
