// One registry value file (the 32-bit little-endian type, then the value's
// bytes) read back every way the registry offers, and taken by the COM
// layer as the class id of a ProgID and as the ProgID of a class id.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/Com.h"
#include "tests/fuzz/FuzzSandbox.h"
#include "tests/fuzz/RegistryValueFile.h"

namespace {

const CLSID kClass = {0x2b8e41c7, 0x5a90, 0x4d3e, {0x8f, 0x62, 0x0c, 0x17, 0xd4, 0x39, 0xa5, 0x6b}};
const char* const kProgIdKey = "Fuzz.Value\\CLSID";

struct ValueFiles {
    std::string classOfProgId;  // HKEY_CLASSES_ROOT\Fuzz.Value\CLSID, default value
    std::string progIdOfClass;  // HKEY_CLASSES_ROOT\CLSID\{...}\ProgId, default value
};

const ValueFiles& Files()
{
    static const ValueFiles files = [] {
        FuzzSandbox::Get();
        return ValueFiles{RegistryValueFile(HKEY_CLASSES_ROOT, kProgIdKey, ""),
                          RegistryValueFile(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(kClass) + "\\ProgId", "")};
    }();
    return files;
}

void Check(bool ok)
{
    if (!ok) std::abort();
}

// The raw reads: the size query, a buffer that fits exactly and one a byte
// short, each in a heap block of exactly that size.
void QueryEveryWay(HKEY key, const uint8_t* data, size_t size)
{
    DWORD type = 0, length = 0;
    const LSTATUS status = RegQueryValueEx(key, "", nullptr, &type, nullptr, &length);
    if (size < 4) {
        Check(status == ERROR_CANTREAD);
        return;
    }
    Check(status == ERROR_SUCCESS && length == size - 4);
    Check(type == (uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24));

    // new[] gives a real block even for no bytes: a null buffer would ask for the size again.
    const std::unique_ptr<uint8_t[]> exact(new uint8_t[length]);
    DWORD capacity = length;
    Check(RegQueryValueEx(key, "", nullptr, nullptr, exact.get(), &capacity) == ERROR_SUCCESS && capacity == length);
    Check(length == 0 || std::memcmp(exact.get(), data + 4, length) == 0);
    if (length > 0) {
        const std::unique_ptr<uint8_t[]> shorter(new uint8_t[length - 1]);
        capacity = length - 1;
        Check(RegQueryValueEx(key, "", nullptr, nullptr, shorter.get(), &capacity) == ERROR_MORE_DATA &&
              capacity == length);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ValueFiles& files = Files();
    FuzzSandbox::Write(files.classOfProgId, data, size);
    FuzzSandbox::Write(files.progIdOfClass, data, size);

    RegKey key;
    Check(key.Open(HKEY_CLASSES_ROOT, kProgIdKey) == ERROR_SUCCESS);
    QueryEveryWay(key.Get(), data, size);
    std::vector<uint8_t> bytes;
    std::string text;
    if (key.QueryBinary("", bytes) == ERROR_SUCCESS) Check(bytes.size() == size - 4);
    if (key.QueryString("", text) == ERROR_SUCCESS) Check(text.size() <= size - 4);

    CLSID clsid;
    if (CLSIDFromProgID(L"Fuzz.Value", &clsid) == S_OK) {
        // Whatever spelling was accepted, the class id survives its own text.
        CLSID back;
        Check(GuidFromString(GuidToString(clsid), &back) && back == clsid);
    }
    LPOLESTR progId = nullptr;
    if (ProgIDFromCLSID(kClass, &progId) == S_OK) Check(progId && std::wcslen(progId) <= size - 4);
    CoTaskMemFree(progId);
    return 0;
}
