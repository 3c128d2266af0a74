#include "platform/com/InProcRegistration.h"

#include "platform/com/Guid.h"
#include "platform/registry/Registry.h"

namespace {

bool SetDefault(HKEY parent, const std::string& subKey, const std::string& value, RegKey* keep = nullptr)
{
    RegKey key;
    if (key.Create(parent, subKey, KEY_ALL_ACCESS) != ERROR_SUCCESS) return false;
    if (key.SetString("", value) != ERROR_SUCCESS) return false;
    if (keep) *keep = std::move(key);
    return true;
}

bool RemoveTree(const std::string& subKey)
{
    const LSTATUS status = RegDeleteTree(HKEY_CLASSES_ROOT, subKey.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace

HRESULT RegisterInProcServer(const InProcServerEntry& entry, const std::string& modulePath)
{
    if (modulePath.empty()) return SELFREG_E_CLASS;
    const std::string clsid = GuidToString(entry.clsid);
    const std::string classKey = "CLSID\\" + clsid;
    const std::string description = entry.description ? entry.description : "";

    bool ok = true;
    if (entry.progId && *entry.progId) {
        ok = SetDefault(HKEY_CLASSES_ROOT, entry.progId, description) &&
             SetDefault(HKEY_CLASSES_ROOT, std::string(entry.progId) + "\\CLSID", clsid);
    }
    // Stale subkeys of an earlier registration must not survive.
    ok = ok && RemoveTree(classKey) && SetDefault(HKEY_CLASSES_ROOT, classKey, description);
    if (ok && entry.progId && *entry.progId) ok = SetDefault(HKEY_CLASSES_ROOT, classKey + "\\ProgId", entry.progId);
    RegKey server;
    ok = ok && SetDefault(HKEY_CLASSES_ROOT, classKey + "\\InProcServer32", modulePath, &server);
    if (ok && entry.threadingModel) ok = server.SetString("ThreadingModel", entry.threadingModel) == ERROR_SUCCESS;
    if (!ok) {
        UnregisterInProcServer(entry);
        return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT UnregisterInProcServer(const InProcServerEntry& entry)
{
    bool ok = RemoveTree("CLSID\\" + GuidToString(entry.clsid));
    if (entry.progId && *entry.progId) ok = RemoveTree(entry.progId) && ok;
    return ok ? S_OK : SELFREG_E_CLASS;
}
