// Class id strings and the byte-wise order of identifiers.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "platform/com/ComBase.h"

using OLECHAR = wchar_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

// The order of identifiers is that of their 16 stored bytes (memcmp), not
// of their text: maps keyed by list id iterate in this order.
inline bool GuidLess(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
struct CompareGUID {
    bool operator()(const GUID& a, const GUID& b) const { return GuidLess(a, b); }
};

// Number of characters of "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
inline constexpr int kGuidStringLength = 38;

// Writes the braced upper-case form and its zero into text; returns the
// characters written including the zero (39), or 0 when capacity is short.
int StringFromGUID2(REFGUID guid, LPOLESTR text, int capacity);
// The braced form in a new CoTaskMemAlloc'd string; the caller frees it with
// CoTaskMemFree.  E_POINTER for a null out-pointer.
HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* text);
HRESULT StringFromIID(REFIID iid, LPOLESTR* text);
// Parses exactly the braced 38-character form (hex digits of either case).
// Anything else, null included, is CO_E_CLASSSTRING and leaves *clsid null.
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);
HRESULT IIDFromString(LPCOLESTR text, IID* iid);

// Narrow forms of the same, for registry key names and file names.
std::string GuidToString(REFGUID guid);
bool GuidFromString(std::string_view text, GUID* guid);
