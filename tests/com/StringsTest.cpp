#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/Com.h"

TEST(Bstr, LengthPrefixCountsBytesAndAllowsEmbeddedZeros)
{
    const wchar_t withZeros[] = {L'a', L'\0', L'b', L'\0', L'c'};
    BSTR text = SysAllocStringLen(withZeros, 5);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(SysStringByteLen(text), 5 * sizeof(wchar_t));
    uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<const char*>(text) - 4, 4);
    EXPECT_EQ(prefix, 5 * sizeof(wchar_t));
    EXPECT_EQ(std::memcmp(text, withZeros, sizeof withZeros), 0);
    EXPECT_EQ(text[5], L'\0') << "terminated after the counted characters";
    SysFreeString(text);

    text = SysAllocString(L"héllo");
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_STREQ(text, L"héllo");
    SysFreeString(text);

    // A null source gives zeroed characters.
    text = SysAllocStringLen(nullptr, 3);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 3u);
    EXPECT_EQ(text[0], L'\0');
    EXPECT_EQ(text[2], L'\0');
    SysFreeString(text);

    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
    // Lengths whose byte count overflows the prefix are refused.
    EXPECT_EQ(SysAllocStringLen(nullptr, 0x40000000u), nullptr);

    ComBstr owned = ComBstr::Attach(SysAllocStringUtf8("a\xC3\xA9"));
    EXPECT_EQ(owned.View(), L"aé");
    ComBstr copy = owned;
    EXPECT_NE(copy.Get(), owned.Get());
    EXPECT_EQ(copy.View(), owned.View());
}

namespace {

// Counts its references; never deleted.
struct CountedObject : IUnknown {
    STDMETHOD(QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return ++count; }
    STDMETHOD_(ULONG, Release)() override { return --count; }
    ULONG count = 1;
};

}  // namespace

TEST(Variant, ClearAndCopyOwnWhatTheyHold)
{
    CountedObject object;
    {
        ComVariant unknown = ComVariant::FromUnknown(&object);
        EXPECT_EQ(object.count, 2u);
        ComVariant copy = unknown;
        EXPECT_EQ(object.count, 3u);
        ASSERT_EQ(VariantClear(&copy), S_OK);
        EXPECT_EQ(copy.vt, VT_EMPTY);
        EXPECT_EQ(object.count, 2u);
        // Copying over a held interface releases it.
        unknown = ComVariant::FromInt(7);
        EXPECT_EQ(object.count, 1u);
        EXPECT_EQ(unknown.vt, VT_I4);
        EXPECT_EQ(unknown.lVal, 7);
    }
    EXPECT_EQ(object.count, 1u);

    ComVariant name = ComVariant::FromString(L"item|name");
    ASSERT_EQ(name.vt, VT_BSTR);
    ComVariant duplicate = name;
    EXPECT_NE(duplicate.bstrVal, name.bstrVal);
    EXPECT_STREQ(duplicate.bstrVal, L"item|name");

    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(VariantClear(&v), S_OK);
    v.vt = 0x2000 | VT_I4;  // arrays are not supported
    EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE);
    EXPECT_EQ(VariantCopy(&duplicate, &v), DISP_E_BADVARTYPE);
    EXPECT_EQ(duplicate.vt, VT_BSTR) << "a refused copy leaves the target alone";
}

TEST(Utf8, ConvertsBothWaysAndReplacesMalformedInput)
{
    const std::wstring wide = L"config/\u00e9t\u00e9/\u4e2d/\U0001F600";
    const std::string narrow = WideToUtf8(wide);
    EXPECT_EQ(narrow, "config/\xC3\xA9t\xC3\xA9/\xE4\xB8\xAD/\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToWide(narrow), wide);

    EXPECT_EQ(Utf8ToWide("a\xFF" "b"), L"a\uFFFDb") << "impossible byte";
    EXPECT_EQ(Utf8ToWide("a\xC3"), L"a\uFFFD") << "truncated at the end";
    EXPECT_EQ(Utf8ToWide("\xE4\xB8" "x"), L"\uFFFDx") << "truncated before a plain character";
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), L"\uFFFD\uFFFD") << "overlong slash";
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), L"\uFFFD") << "encoded surrogate";
    EXPECT_EQ(Utf8ToWide("\xE0\x80\xAF"), L"\uFFFD") << "overlong three-byte form";

    std::wstring surrogate = L"x";
    surrogate += static_cast<wchar_t>(0xD800);
    surrogate += static_cast<wchar_t>(0x110000);
    EXPECT_EQ(WideToUtf8(surrogate), "x\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(WideToUtf8(static_cast<const wchar_t*>(nullptr)), "");
    EXPECT_EQ(Utf8ToWide(std::string_view("a\0b", 3)), std::wstring(L"a\0b", 3));
}
