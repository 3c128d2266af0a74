// Length-prefixed wide strings.  A BSTR points at its first character; the
// 4 bytes before it hold the length in bytes (without the terminating
// zero), so that a BSTR may hold embedded zeros.  Every module allocates and
// frees them with the C heap, so one module may free another's strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/com/ComBase.h"

using UINT = uint32_t;

// A copy of the zero-terminated text; null for null text or no memory.
BSTR SysAllocString(const wchar_t* text);
// length characters copied from text (zero-filled when text is null), then
// a terminating zero.  Null when out of memory or the length overflows.
BSTR SysAllocStringLen(const wchar_t* text, UINT length);
// Characters in the string (embedded zeros included); 0 for null.
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);
// Null is allowed.
void SysFreeString(BSTR text);

// The UTF-8 text as a new BSTR (null when out of memory).
BSTR SysAllocStringUtf8(std::string_view text);

// Owner of one BSTR: frees it on destruction.
class ComBstr {
public:
    ComBstr() = default;
    explicit ComBstr(const wchar_t* text) : str(SysAllocString(text)) {}
    ComBstr(const ComBstr& other) : str(other.str ? SysAllocStringLen(other.str, SysStringLen(other.str)) : nullptr) {}
    ComBstr(ComBstr&& other) noexcept : str(std::exchange(other.str, nullptr)) {}
    ~ComBstr() { SysFreeString(str); }
    ComBstr& operator=(ComBstr other) noexcept
    {
        std::swap(str, other.str);
        return *this;
    }

    // Adopts a string the caller owns.
    static ComBstr Attach(BSTR text) { ComBstr r; r.str = text; return r; }
    BSTR Detach() { return std::exchange(str, nullptr); }
    // For out-parameters: frees what is held and exposes the slot.
    BSTR* operator&() { Reset(); return &str; }
    void Reset() { SysFreeString(std::exchange(str, nullptr)); }

    BSTR Get() const { return str; }
    UINT Length() const { return SysStringLen(str); }
    std::wstring_view View() const { return str ? std::wstring_view(str, SysStringLen(str)) : std::wstring_view(); }
    explicit operator bool() const { return str != nullptr; }

private:
    BSTR str = nullptr;
};
