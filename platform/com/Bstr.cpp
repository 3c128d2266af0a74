#include "platform/com/Bstr.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "platform/com/Utf8.h"

namespace {

constexpr std::size_t kPrefix = sizeof(uint32_t);

uint32_t* PrefixOf(BSTR text) { return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(text) - kPrefix); }

}  // namespace

BSTR SysAllocStringLen(const wchar_t* text, UINT length)
{
    // The byte length must fit the 32-bit prefix.
    if (length > (0xFFFFFFFFu - sizeof(wchar_t)) / sizeof(wchar_t)) return nullptr;
    const std::size_t bytes = std::size_t{length} * sizeof(wchar_t);
    char* block = static_cast<char*>(std::malloc(kPrefix + bytes + sizeof(wchar_t)));
    if (!block) return nullptr;
    const uint32_t prefix = static_cast<uint32_t>(bytes);
    std::memcpy(block, &prefix, kPrefix);
    BSTR result = reinterpret_cast<BSTR>(block + kPrefix);
    if (text) std::memcpy(result, text, bytes);
    else std::memset(result, 0, bytes);
    result[length] = L'\0';
    return result;
}

BSTR SysAllocString(const wchar_t* text)
{
    if (!text) return nullptr;
    const std::size_t length = std::wcslen(text);
    if (length > 0xFFFFFFFFu) return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(length));
}

UINT SysStringByteLen(BSTR text) { return text ? *PrefixOf(text) : 0; }

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(wchar_t); }

void SysFreeString(BSTR text)
{
    if (text) std::free(PrefixOf(text));
}

BSTR SysAllocStringUtf8(std::string_view text)
{
    const std::wstring wide = Utf8ToWide(text);
    if (wide.size() > 0xFFFFFFFFu) return nullptr;
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}
