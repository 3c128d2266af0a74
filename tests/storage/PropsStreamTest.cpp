// The property-set kind reaching its attribute component by class id.
#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>

#include "platform/com/Com.h"
#include "platform/registry/Registry.h"
#include "storage/PropsVar.h"
#include "storage/api/Attributes.h"

namespace {

constexpr CLSID kAttributes = {0x7D3B9A10, 0x44C2, 0x4E8F, {0xA1, 0x6B, 0x0C, 0x52, 0x99, 0xE4, 0x31, 0x7A}};

class PropsStream : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegKey server;
        ASSERT_EQ(server.Create(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(kAttributes) + "\\InProcServer32"),
                  ERROR_SUCCESS);
        server.SetString("", ATTRIBUTES_SERVER_PATH);
    }

    static CPropsVar Make(const char* item)
    {
        GLOBAL_VARIABLE_INFO info;
        std::memset(&info, 0, sizeof info);
        info.name = "p";
        info.type = VARKIND_PROPS;
        info.props.clsid = kAttributes;
        info.props.itemName = item;
        return CPropsVar(info);
    }

    // Objects of the server still alive: each path must release what it took.
    static long Live()
    {
        void* module = dlopen(ATTRIBUTES_SERVER_PATH, RTLD_NOW | RTLD_NOLOAD);
        if (!module) return 0;
        auto live = reinterpret_cast<long (*)()>(dlsym(module, "TestLiveObjects"));
        const long n = live ? live() : -1;
        dlclose(module);
        return n;
    }
};

}  // namespace

TEST_F(PropsStream, ItemWithAStreamGivesItWithAReference)
{
    CPropsVar var = Make("stream");
    IDataStorageStream* stream = nullptr;
    ASSERT_TRUE(var.GetStream(&stream));
    ASSERT_NE(stream, nullptr);
    uint32_t written = 0;
    EXPECT_EQ(stream->Write("ab", 2, &written), 1);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(Live(), 1);  // only the stream the caller holds
    stream->Release();
    EXPECT_EQ(Live(), 0);
}

TEST_F(PropsStream, EveryOtherAnswerIsFalseAndLeavesNothingBehind)
{
    for (const char* item : {"dispatch", "fail", "empty"}) {
        SCOPED_TRACE(item);
        CPropsVar var = Make(item);
        IDataStorageStream* stream = reinterpret_cast<IDataStorageStream*>(1);
        EXPECT_FALSE(var.GetStream(&stream));
        EXPECT_EQ(stream, nullptr);
        EXPECT_EQ(Live(), 0);
    }
}
