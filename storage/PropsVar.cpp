#include "storage/PropsVar.h"

CPropsVar::CPropsVar(const GLOBAL_VARIABLE_INFO& info) : CVar(info)
{
    if (info.type != VARKIND_PROPS) return;
    clsid = info.props.clsid;
    if (info.props.itemName) itemName = info.props.itemName;
    if (info.props.bytes && info.props.length > 0) {
        const auto* bytes = static_cast<const uint8_t*>(info.props.bytes);
        value.assign(bytes, bytes + info.props.length);
    }
}

bool CPropsVar::IsDefault() const { return value.empty(); }

const char* CPropsVar::AsString() const { return "Click here to start edit"; }

void CPropsVar::SetValue(const void* bytes, unsigned length)
{
    if (bytes && length > 0) {
        const auto* first = static_cast<const uint8_t*>(bytes);
        value.assign(first, first + length);
    } else {
        value.clear();
    }
    CVar::SetValue(bytes, length);
}

void CPropsVar::GetValue(void** bytes, unsigned* length) const
{
    CopyOut(value.data(), static_cast<unsigned>(value.size()), bytes, length);
}

void CPropsVar::GetDefaultValue(void** bytes, unsigned* length) const
{
    if (bytes) *bytes = nullptr;
    if (length) *length = 0;
}

void CPropsVar::SetDefault()
{
    value.clear();
    CVar::SetValue(nullptr, 0);
}
