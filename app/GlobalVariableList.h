// The program's parameters as the storage component enumerates them: a COM
// object over globalVariableChain, named "LBM" (the editor's tab caption).
#pragma once

#include "app/GlobalVariable.h"
#include "platform/com/ComObject.h"
#include "storage/api/VariableStorage.h"

// The list id under which the component keeps the program's values.
inline constexpr GUID LIST_ID = {0x551F6B37, 0xA5BC, 0x4746, {0x8E, 0x1F, 0xC6, 0x6F, 0x87, 0x7F, 0x50, 0x22}};

class GlobalVariableList final : public ComObject<IVariableList> {
public:
    GlobalVariableList() = default;

    STDMETHOD_(const char*, GetListName)() override;
    STDMETHOD_(int32_t, Reset)() override;
    STDMETHOD_(int32_t, Next)(GLOBAL_VARIABLE_INFO* info) override;

private:
    ~GlobalVariableList() override = default;

    GlobalVariable* cursor = nullptr;
};
