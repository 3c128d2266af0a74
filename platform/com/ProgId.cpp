#include <cwchar>

#include "platform/com/ComRuntime.h"
#include "platform/com/Utf8.h"
#include "platform/registry/Registry.h"

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* progId)
{
    if (!progId) return E_POINTER;
    *progId = nullptr;
    RegKey key;
    std::string name;
    if (key.Open(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(clsid) + "\\ProgId", KEY_READ) != ERROR_SUCCESS ||
        key.QueryString("", name) != ERROR_SUCCESS || name.empty())
        return REGDB_E_CLASSNOTREG;
    const std::wstring wide = Utf8ToWide(name);
    *progId = static_cast<LPOLESTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(OLECHAR)));
    if (!*progId) return E_OUTOFMEMORY;
    std::wmemcpy(*progId, wide.c_str(), wide.size() + 1);
    return S_OK;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid)
{
    if (!clsid) return E_POINTER;
    *clsid = GUID_NULL;
    // A ProgID is one key name: a separator would reach into other keys.
    if (!progId || !*progId || std::wcschr(progId, L'\\')) return CO_E_CLASSSTRING;
    RegKey key;
    std::string text;
    if (key.Open(HKEY_CLASSES_ROOT, WideToUtf8(progId) + "\\CLSID", KEY_READ) != ERROR_SUCCESS ||
        key.QueryString("", text) != ERROR_SUCCESS)
        return CO_E_CLASSSTRING;
    CLSID parsed;
    if (!GuidFromString(text, &parsed)) return CO_E_CLASSSTRING;
    *clsid = parsed;
    return S_OK;
}
