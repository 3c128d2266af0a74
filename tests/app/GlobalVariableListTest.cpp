#include "app/GlobalVariableList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/Parameters.h"
#include "app/SetVariableFromStorage.h"

namespace {
std::vector<std::string> Enumerate(IVariableList* list)
{
    std::vector<std::string> names;
    list->Reset();
    GLOBAL_VARIABLE_INFO info{};
    while (list->Next(&info))
        names.emplace_back(info.name);
    return names;
}
}  // namespace

TEST(GlobalVariableList, EnumeratesTheChainAgainAfterReset)
{
    auto list = IVariableListPtr::Attach(new GlobalVariableList);
    EXPECT_STREQ(list->GetListName(), "LBM");
    const auto first = Enumerate(list.Get());
    ASSERT_EQ(first.size(), 13u);
    EXPECT_EQ(first.front(), "obstacle|shape");
    EXPECT_EQ(first.back(), "init|simulationType");
    EXPECT_EQ(Enumerate(list.Get()), first);

    GLOBAL_VARIABLE_INFO info;
    std::memset(&info, 0x5A, sizeof info);
    GLOBAL_VARIABLE_INFO untouched = info;
    EXPECT_EQ(list->Next(&info), 0);
    EXPECT_EQ(list->Next(&info), 0);
    EXPECT_EQ(std::memcmp(&info, &untouched, sizeof info), 0);
}

TEST(GlobalVariableList, AnswersOnlyItsTwoInterfacesAndDiesWithItsLastReference)
{
    auto* raw = new GlobalVariableList;  // born with its creator's reference
    EXPECT_EQ(raw->AddRef(), 2u);
    void* p = nullptr;
    EXPECT_EQ(raw->QueryInterface(IID_IVariableList, &p), S_OK);
    EXPECT_EQ(p, static_cast<IVariableList*>(raw));
    EXPECT_EQ(raw->QueryInterface(IID_IUnknown, &p), S_OK);
    EXPECT_EQ(raw->QueryInterface(IID_IVariableStorage, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(raw->Release(), 3u);
    EXPECT_EQ(raw->Release(), 2u);
    EXPECT_EQ(raw->Release(), 1u);
    EXPECT_EQ(raw->Release(), 0u);
}

TEST(SetVariableFromStorage, MatchesNamesRegardlessOfCase)
{
    const int32_t width = 640;
    EXPECT_EQ(SetVariableFromStorage("INIT|GRIDWIDTH", &width, 4, nullptr), 0);
    EXPECT_EQ(params::gridWidth.Value(), 640);
    const float nu = 35.0f;
    SetVariableFromStorage("Runtime|InvViscosity", &nu, 4, nullptr);
    EXPECT_EQ(params::invViscosity.Value(), 35.0f);

    // Unknown names, prefixes and short values change nothing.
    const int32_t other = 99;
    SetVariableFromStorage("init|gridWidthX", &other, 4, nullptr);
    SetVariableFromStorage("init|gridWidt", &other, 4, nullptr);
    SetVariableFromStorage("gridWidth", &other, 4, nullptr);
    SetVariableFromStorage(nullptr, &other, 4, nullptr);
    SetVariableFromStorage("init|gridWidth", &other, 2, nullptr);
    EXPECT_EQ(params::gridWidth.Value(), 640);

    const int32_t defaultWidth = 512;
    SetVariableFromStorage("init|gridWidth", &defaultWidth, 4, nullptr);
    const float defaultNu = 20.0f;
    SetVariableFromStorage("runtime|invViscosity", &defaultNu, 4, nullptr);
}
