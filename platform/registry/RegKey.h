// Owner of one open registry key, with string and binary value helpers.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry/RegistryTypes.h"

class RegKey {
public:
    RegKey() = default;
    // Adopts an open key.
    explicit RegKey(HKEY key) : key(key) {}
    RegKey(RegKey&& other) noexcept : key(std::exchange(other.key, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() { Close(); }

    // Replace what is held; the result is the registry function's.
    LSTATUS Create(HKEY parent, const std::string& subKey, REGSAM access = KEY_ALL_ACCESS);
    LSTATUS Open(HKEY parent, const std::string& subKey, REGSAM access = KEY_READ);
    void Close();
    HKEY Get() const { return key; }
    HKEY Detach() { return std::exchange(key, nullptr); }
    explicit operator bool() const { return key != nullptr; }

    // A string value (REG_SZ, stored with its terminating zero; read back
    // without trailing zeros).  An empty name is the default value.
    LSTATUS SetString(const std::string& name, const std::string& value);
    LSTATUS QueryString(const std::string& name, std::string& value) const;
    LSTATUS SetBinary(const std::string& name, const void* data, std::size_t size);
    // Any type, its bytes as stored.
    LSTATUS QueryBinary(const std::string& name, std::vector<uint8_t>& value, DWORD* type = nullptr) const;
    LSTATUS DeleteValue(const std::string& name);

private:
    HKEY key = nullptr;
};
