#include "platform/registry/RegKey.h"

#include "platform/registry/Registry.h"

RegKey& RegKey::operator=(RegKey&& other) noexcept
{
    if (this != &other) {
        Close();
        key = std::exchange(other.key, nullptr);
    }
    return *this;
}

LSTATUS RegKey::Create(HKEY parent, const std::string& subKey, REGSAM access)
{
    Close();
    return RegCreateKeyEx(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                          nullptr);
}

LSTATUS RegKey::Open(HKEY parent, const std::string& subKey, REGSAM access)
{
    Close();
    return RegOpenKeyEx(parent, subKey.c_str(), 0, access, &key);
}

void RegKey::Close()
{
    if (key) RegCloseKey(std::exchange(key, nullptr));
}

LSTATUS RegKey::SetString(const std::string& name, const std::string& value)
{
    return RegSetValueEx(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const uint8_t*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
}

LSTATUS RegKey::QueryString(const std::string& name, std::string& value) const
{
    std::vector<uint8_t> bytes;
    DWORD type = REG_NONE;
    if (LSTATUS status = QueryBinary(name, bytes, &type); status != ERROR_SUCCESS) return status;
    value.assign(bytes.begin(), bytes.end());
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return ERROR_SUCCESS;
}

LSTATUS RegKey::SetBinary(const std::string& name, const void* data, std::size_t size)
{
    if (size > 0xFFFFFFFFu) return ERROR_INVALID_PARAMETER;
    return RegSetValueEx(key, name.c_str(), 0, REG_BINARY, static_cast<const uint8_t*>(data),
                         static_cast<DWORD>(size));
}

LSTATUS RegKey::QueryBinary(const std::string& name, std::vector<uint8_t>& value, DWORD* type) const
{
    // The value may be replaced between asking its size and reading it.
    for (;;) {
        DWORD size = 0;
        if (LSTATUS status = RegQueryValueEx(key, name.c_str(), nullptr, type, nullptr, &size); status != ERROR_SUCCESS)
            return status;
        value.resize(size);
        LSTATUS status = RegQueryValueEx(key, name.c_str(), nullptr, type, value.data(), &size);
        if (status == ERROR_MORE_DATA) continue;
        if (status == ERROR_SUCCESS) value.resize(size);
        return status;
    }
}

LSTATUS RegKey::DeleteValue(const std::string& name) { return RegDeleteValue(key, name.c_str()); }
