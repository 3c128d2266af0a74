// The component object in process: interfaces, the single-instance rule,
// routing between lists, stores and clients, and the layout record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "component/ModuleState.h"
#include "component/SingleWrapper.h"
#include "component/VariableStorageFactory.h"
#include "component/VariableStorageImpl.h"
#include "platform/com/Com.h"
#include "platform/registry/Registry.h"
#include "storage/GUIData.h"
#include "tests/storage/TestList.h"

namespace {

constexpr GUID kListA = {0xA0000001, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
constexpr GUID kListB = {0xB0000002, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};

struct Client {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> seen;
    static int32_t Callback(const char* name, const void* bytes, unsigned length, void* context)
    {
        const auto* b = static_cast<const uint8_t*>(bytes);
        static_cast<Client*>(context)->seen.emplace_back(name, b ? std::vector<uint8_t>(b, b + length)
                                                                 : std::vector<uint8_t>{});
        return 5;
    }
};

template <class I>
ComPtr<I> Create()
{
    ComPtr<I> p;
    EXPECT_EQ(CreateVariableStorage(InterfaceId<I>::value, p.AsOut()), S_OK);
    return p;
}

CVariableStorageImpl* Live() { return CSingleWrapper<CVariableStorageImpl>::Instance; }

}  // namespace

TEST(Component, OneObjectWhileReferencedAndAFreshOneAfter)
{
    {
        auto storage = Create<IVariableStorage>();
        auto attach = Create<IVariableStorageAttach>();
        ASSERT_TRUE(storage && attach);
        ComPtr<IUnknown> u1, u2, u3;
        storage->QueryInterface(IID_IUnknown, u1.AsOut());
        attach->QueryInterface(IID_IUnknown, u2.AsOut());
        IVariableStorage2Ptr two;
        ASSERT_EQ(storage.As(two), S_OK);
        two->QueryInterface(IID_IUnknown, u3.AsOut());
        EXPECT_EQ(u1.Get(), static_cast<IUnknown*>(attach.Get()));
        EXPECT_EQ(u1.Get(), u2.Get());
        EXPECT_EQ(u1.Get(), u3.Get());

        const uint8_t v = 1;
        storage->SetData(&kListA, "x", &v, 1);
        TestList list;
        storage->UseVariableList(&kListB, &list);
        EXPECT_EQ(Live()->GetStores().size(), 1u);
        storage = nullptr;  // the attach pointer keeps it alive
        ASSERT_NE(Live(), nullptr);
        EXPECT_EQ(Live()->GetListsInUse().size(), 1u);
        attach = nullptr;
        u1 = u2 = u3 = nullptr;
        two = nullptr;
        EXPECT_EQ(Live(), nullptr);
        EXPECT_EQ(list.refs, 0u);  // released with the object
    }
    auto again = Create<IVariableStorage>();
    EXPECT_TRUE(Live()->GetStores().empty());
    EXPECT_TRUE(Live()->GetListsInUse().empty());
}

TEST(Component, RefusedInterfaceDestroysTheNewObject)
{
    const long before = ModuleState::objects;
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateVariableStorage(IID_IClassFactory, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(Live(), nullptr);
    EXPECT_EQ(ModuleState::objects, before);
}

TEST(Component, FactoryRefusesAggregation)
{
    auto& factory = CVariableStorageFactory::Get();
    void* p = nullptr;
    ComPtr<IUnknown> outer = Create<IUnknown>();
    EXPECT_EQ(factory.CreateInstance(outer.Get(), IID_IUnknown, &p), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(p, nullptr);
    EXPECT_FALSE(ModuleState::CanUnload());
    outer = nullptr;
    EXPECT_TRUE(ModuleState::CanUnload());
    factory.LockServer(1);
    EXPECT_FALSE(ModuleState::CanUnload());
    factory.LockServer(0);
    EXPECT_TRUE(ModuleState::CanUnload());
}

TEST(Component, AttachReplaysStoredValuesInByteOrder)
{
    auto storage = Create<IVariableStorage>();
    auto attach = Create<IVariableStorageAttach>();
    const uint8_t one = 1, two = 2;
    EXPECT_EQ(storage->SetData(&kListA, "b|x", &one, 1), 0);  // never-used list: store made, no client
    EXPECT_EQ(storage->SetData(&kListA, "B|x", &two, 1), 0);  // case matters: a second entry
    EXPECT_EQ(storage->SetData(&kListB, "other", &two, 1), 0);

    Client client;
    attach->AttachVariableList(&kListA, &Client::Callback, &client);
    ASSERT_EQ(client.seen.size(), 2u);
    EXPECT_EQ(client.seen[0].first, "B|x");
    EXPECT_EQ(client.seen[1].first, "b|x");

    EXPECT_EQ(storage->SetData(&kListA, "c", &one, 1), 5);  // the client's result
    EXPECT_EQ(client.seen.size(), 3u);
}

TEST(Component, DetachKeepsValuesForTheNextClient)
{
    auto storage = Create<IVariableStorage>();
    auto attach = Create<IVariableStorageAttach>();
    attach->DetachVariableList(&kListB);  // no store yet: none is created
    EXPECT_EQ(Live()->FindStore(kListB), nullptr);

    Client first, second;
    attach->AttachVariableList(&kListA, &Client::Callback, &first);
    const uint8_t v = 3;
    storage->SetData(&kListA, "seen", &v, 1);
    attach->DetachVariableList(&kListA);
    EXPECT_EQ(storage->SetData(&kListA, "meanwhile", &v, 1), 0);
    EXPECT_EQ(first.seen.size(), 1u);
    attach->AttachVariableList(&kListA, &Client::Callback, &second);
    ASSERT_EQ(second.seen.size(), 2u);
    EXPECT_EQ(second.seen[0].first, "meanwhile");
    EXPECT_EQ(second.seen[1].first, "seen");

    attach->AttachVariableList(&kListA, nullptr, nullptr);  // a null callback changes nothing
    EXPECT_TRUE(Live()->FindStore(kListA)->HasClient());
}

TEST(Component, UseVariableListHoldsOneReferencePerList)
{
    auto storage = Create<IVariableStorage>();
    TestList a("a"), b("b");
    storage->UseVariableList(&kListA, &a);
    storage->UseVariableList(&kListA, &a);  // same pointer: no change
    EXPECT_EQ(a.refs, 1u);
    storage->UseVariableList(&kListA, &b);
    EXPECT_EQ(a.refs, 0u);
    EXPECT_EQ(b.refs, 1u);
    {
        auto copy = Live()->GetListsInUse();  // an editor's copy holds its own references
        EXPECT_EQ(b.refs, 2u);
    }
    storage->UseVariableList(&kListA, nullptr);  // the id only
    EXPECT_EQ(b.refs, 0u);
    auto lists = Live()->GetListsInUse();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_FALSE(lists.begin()->second);
}

TEST(Component, EditorMethodsWithoutAnEditorDoNothing)
{
    auto storage = Create<IVariableStorage>();
    RECT r{0, 0, 10, 10};
    EXPECT_EQ(Live()->GetEditorWindow(), nullptr);
    // The layout record is the one the editors share.
    EXPECT_EQ(&Live()->GetGUIData(), &Live()->GetGUIData());
    storage->CreateControl(nullptr, &r, nullptr);
    storage->CreateModal(nullptr, 0, nullptr);
    EXPECT_EQ(Live()->GetEditorWindow(), nullptr);
}

TEST(GUIData, DefaultsAreWrittenWhenTheKeyIsMissing)
{
    RegDeleteTree(HKEY_CURRENT_USER, CGUIData::KeyPath());
    CGUIData data;
    EXPECT_EQ(data.getCol(0), 100);
    EXPECT_EQ(data.getSplitterPos(), 0.5);
    RegKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, "SOFTWARE\\Ostrevo Technologies\\Pelmaxi\\Quillet"), ERROR_SUCCESS);
    std::vector<uint8_t> stored;
    DWORD type = 0;
    ASSERT_EQ(key.QueryBinary("GuiData", stored, &type), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    const std::vector<uint8_t> expected = {100, 0, 0, 0, 100, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F};
    EXPECT_EQ(stored, expected);
}

TEST(GUIData, ShortValueFillsLeadingFieldsAndSettersWriteThrough)
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, CGUIData::KeyPath()), ERROR_SUCCESS);
    const uint8_t shortValue[6] = {50, 0, 0, 0, 60, 0};
    ASSERT_EQ(key.SetBinary("GuiData", shortValue, sizeof shortValue), ERROR_SUCCESS);
    CGUIData first;
    EXPECT_EQ(first.getCol(0), 50);
    EXPECT_EQ(first.getCol(1), 60);
    EXPECT_EQ(first.getCol(2), 100);
    EXPECT_EQ(first.getSplitterPos(), 0.5);
    EXPECT_EQ(first.getCol(3), 0);

    first.setCol(2, 222);
    CGUIData second;  // two windows: the last change written wins
    second.setSplitterPos(0.25);
    first.setCol(1, 111);
    CGUIData reread;
    EXPECT_EQ(reread.getCol(1), 111);
    EXPECT_EQ(reread.getCol(2), 222);
    EXPECT_EQ(reread.getSplitterPos(), 0.5);  // first's own record was written last
}

TEST(GUIData, StoredFieldsOutOfRangeKeepTheirDefaults)
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, CGUIData::KeyPath()), ERROR_SUCCESS);
    const GUIDATA hostile = {{-5, CGUIData::kMaxColumnWidth + 1, 0}, std::nan("")};
    ASSERT_EQ(key.SetBinary("GuiData", &hostile, sizeof hostile), ERROR_SUCCESS);
    CGUIData read;
    EXPECT_EQ(read.getCol(0), 100);
    EXPECT_EQ(read.getCol(1), 100);
    EXPECT_EQ(read.getCol(2), 0);
    EXPECT_EQ(read.getSplitterPos(), 0.5);
    const GUIDATA outside = {{1, 2, CGUIData::kMaxColumnWidth}, 1.5};
    ASSERT_EQ(key.SetBinary("GuiData", &outside, sizeof outside), ERROR_SUCCESS);
    EXPECT_EQ(CGUIData().getCol(2), CGUIData::kMaxColumnWidth);
    EXPECT_EQ(CGUIData().getSplitterPos(), 0.5);
}
