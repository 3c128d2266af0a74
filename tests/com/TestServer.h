// The class served by the test module, shared by the module and the tests.
#pragma once

#include <cstdint>

#include "platform/com/ComBase.h"
#include "platform/com/ComPtr.h"

inline constexpr CLSID CLSID_TestObject = {
    0x6C1E2A40, 0x93D7, 0x4B8E, {0xA1, 0x5F, 0x20, 0x7C, 0x9E, 0x31, 0xD4, 0x58}};
inline constexpr IID IID_ITestObject = {
    0x0D8B55E2, 0x4F61, 0x4A3C, {0x8B, 0x07, 0xE6, 0x19, 0x72, 0xA4, 0x3B, 0xC1}};
inline constexpr const char* kTestProgId = "ComTest.Object";
inline constexpr const char* kTestDescription = "Test object of the COM layer";

struct ITestObject : IUnknown {
    // Objects of this class alive in the module.
    STDMETHOD_(int32_t, LiveObjects)() = 0;
    // The address of a variable of the module, to tell two loads apart.
    STDMETHOD_(const void*, ModuleState)() = 0;
};
DECLARE_INTERFACE_ID(ITestObject, IID_ITestObject);
using ITestObjectPtr = ComPtr<ITestObject>;
