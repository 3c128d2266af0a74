#include "platform/com/Guid.h"

#include <cstdio>

#include "platform/com/ComRuntime.h"

namespace {

// Byte positions of the hex pairs in the braced form, in field order.
constexpr int kPairs[16] = {1, 3, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 29, 31, 33, 35};

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

template <class Char>
bool Parse(const Char* text, std::size_t length, GUID* guid)
{
    if (length != kGuidStringLength || text[0] != '{' || text[37] != '}' || text[9] != '-' || text[14] != '-' ||
        text[19] != '-' || text[24] != '-')
        return false;
    uint8_t bytes[16];
    for (int i = 0; i < 16; ++i) {
        const int high = HexValue(static_cast<wchar_t>(text[kPairs[i]]));
        const int low = HexValue(static_cast<wchar_t>(text[kPairs[i] + 1]));
        if (high < 0 || low < 0) return false;
        bytes[i] = static_cast<uint8_t>(high << 4 | low);
    }
    guid->Data1 = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
                  static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
    guid->Data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
    guid->Data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
    for (int i = 0; i < 8; ++i) guid->Data4[i] = bytes[8 + i];
    return true;
}

HRESULT ToTaskString(REFGUID guid, LPOLESTR* text)
{
    if (!text) return E_POINTER;
    *text = static_cast<LPOLESTR>(CoTaskMemAlloc((kGuidStringLength + 1) * sizeof(OLECHAR)));
    if (!*text) return E_OUTOFMEMORY;
    StringFromGUID2(guid, *text, kGuidStringLength + 1);
    return S_OK;
}

HRESULT FromWide(LPCOLESTR text, GUID* guid)
{
    if (!guid) return E_POINTER;
    *guid = GUID_NULL;
    if (!text) return CO_E_CLASSSTRING;
    std::size_t length = 0;
    while (length <= kGuidStringLength && text[length]) ++length;
    GUID parsed;
    if (!Parse(text, length, &parsed)) return CO_E_CLASSSTRING;
    *guid = parsed;
    return S_OK;
}

}  // namespace

std::string GuidToString(REFGUID guid)
{
    char text[kGuidStringLength + 1];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2,
                  guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4],
                  guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

bool GuidFromString(std::string_view text, GUID* guid)
{
    GUID parsed;
    if (!guid || !Parse(text.data(), text.size(), &parsed)) return false;
    *guid = parsed;
    return true;
}

int StringFromGUID2(REFGUID guid, LPOLESTR text, int capacity)
{
    if (!text || capacity < kGuidStringLength + 1) return 0;
    const std::string narrow = GuidToString(guid);
    for (int i = 0; i < kGuidStringLength; ++i) text[i] = static_cast<OLECHAR>(narrow[i]);
    text[kGuidStringLength] = L'\0';
    return kGuidStringLength + 1;
}

HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* text) { return ToTaskString(clsid, text); }
HRESULT StringFromIID(REFIID iid, LPOLESTR* text) { return ToTaskString(iid, text); }
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) { return FromWide(text, clsid); }
HRESULT IIDFromString(LPCOLESTR text, IID* iid) { return FromWide(text, iid); }
