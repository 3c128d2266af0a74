#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/com/Com.h"
#include "storage/api/VariableStorage.h"

TEST(GuidText, BracedUpperCaseFormRoundTrips)
{
    LPOLESTR text = nullptr;
    ASSERT_EQ(StringFromCLSID(CLSID_VariableStorage, &text), S_OK);
    EXPECT_STREQ(text, L"{B9D2F682-6B25-4CE5-9DBF-6B3C75D2E9EE}");
    CLSID back;
    ASSERT_EQ(CLSIDFromString(text, &back), S_OK);
    EXPECT_EQ(back, CLSID_VariableStorage);
    CoTaskMemFree(text);

    // Leading zeros are kept in every field.
    const GUID small = {0x1, 0x2, 0x3, {0, 1, 2, 3, 4, 5, 6, 7}};
    EXPECT_EQ(GuidToString(small), "{00000001-0002-0003-0001-020304050607}");
    GUID parsed;
    ASSERT_TRUE(GuidFromString("{00000001-0002-0003-0001-020304050607}", &parsed));
    EXPECT_EQ(parsed, small);

    ASSERT_EQ(CLSIDFromString(L"{b9d2f682-6b25-4ce5-9dbf-6b3c75d2e9ee}", &back), S_OK) << "either case";
    EXPECT_EQ(back, CLSID_VariableStorage);

    wchar_t buffer[39];
    EXPECT_EQ(StringFromGUID2(IID_IVariableStorage, buffer, 38), 0) << "no room for the zero";
    EXPECT_EQ(StringFromGUID2(IID_IVariableStorage, buffer, 39), 39);
    EXPECT_STREQ(buffer, L"{7486C870-7064-46F7-BA45-10C24E6E002A}");
}

TEST(GuidText, MalformedStringsAreRefused)
{
    const wchar_t* bad[] = {
        L"",
        L"B9D2F682-6B25-4CE5-9DBF-6B3C75D2E9EE",      // no braces
        L"{B9D2F682-6B25-4CE5-9DBF-6B3C75D2E9EE",     // no closing brace
        L"{B9D2F682-6B25-4CE5-9DBF-6B3C75D2E9EE}x",   // trailing text
        L"{B9D2F682-6B25-4CE5-9DBF-6B3C75D2E9E}",     // a digit short
        L"{B9D2F6826-B25-4CE5-9DBF-6B3C75D2E9EE}",    // dash misplaced
        L"{B9D2F682-6B25-4CE5-9DBF-6B3C75D2E9EG}",    // not hex
        L"{B9D2F682-6B25-4CE5-9DBF+6B3C75D2E9EE}",    // wrong separator
        L"{ 9D2F682-6B25-4CE5-9DBF-6B3C75D2E9EE}",
        L"Pelmaxi.VariableStorage",
    };
    for (const wchar_t* text : bad) {
        CLSID clsid = CLSID_VariableStorage;
        EXPECT_EQ(CLSIDFromString(text, &clsid), CO_E_CLASSSTRING) << WideToUtf8(text);
        EXPECT_EQ(clsid, GUID_NULL);
        GUID narrow;
        EXPECT_FALSE(GuidFromString(WideToUtf8(text), &narrow));
    }
    CLSID clsid;
    EXPECT_EQ(CLSIDFromString(nullptr, &clsid), CO_E_CLASSSTRING);
    // A non-ASCII character where a digit belongs.
    std::wstring wide = L"{B9D2F682-6B25-4CE5-9DBF-6B3C75D2E9EE}";
    wide[1] = static_cast<wchar_t>(0x10042);
    EXPECT_EQ(CLSIDFromString(wide.c_str(), &clsid), CO_E_CLASSSTRING);
}

TEST(GuidOrder, IsTheOrderOfTheStoredBytes)
{
    // Numerically Data1 0x100 > 1, but its first stored byte (little-endian)
    // is 0x00 against 0x01.
    const GUID one = {0x00000001, 0, 0, {}};
    const GUID big = {0x00000100, 0, 0, {}};
    EXPECT_TRUE(GuidLess(big, one));
    EXPECT_FALSE(GuidLess(one, big));
    EXPECT_FALSE(GuidLess(one, one));

    std::vector<GUID> ids = {CLSID_VariableStorage, IID_IVariableStorage, IID_IVariableList, GUID_NULL, one, big};
    std::map<GUID, int, CompareGUID> map;
    for (std::size_t i = 0; i < ids.size(); ++i) map[ids[i]] = static_cast<int>(i);
    std::sort(ids.begin(), ids.end(),
              [](const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) < 0; });
    std::size_t i = 0;
    for (const auto& [id, index] : map) EXPECT_EQ(id, ids[i++]);
}
