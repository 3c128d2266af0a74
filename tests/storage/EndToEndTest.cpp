// The component as a client meets it: registered by the tool into a
// registry of the test's own, loaded by class id, never linked.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "platform/com/Com.h"
#include "platform/registry/Registry.h"
#include "storage/api/VariableStorage.h"
#include "tests/support/TempFolder.h"
#include "tests/storage/TestList.h"

namespace {

constexpr GUID kListId = {0x551F6B37, 0xA5BC, 0x4746, {0x8E, 0x1F, 0xC6, 0x6F, 0x87, 0x7F, 0x50, 0x22}};

int RunTool(const std::string& arguments)
{
    const std::string command = std::string("\"") + COMREG_PATH + "\" " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str());
}

// The client: applies every value it is sent to its own variables, which
// then report themselves modified.
struct Client {
    TestList* list;
    std::vector<std::string> received;
    static int32_t STDMETHODCALLTYPE Callback(const char* name, const void* bytes, unsigned length, void* context)
    {
        auto* self = static_cast<Client*>(context);
        self->received.push_back(name);
        for (auto& e : self->list->entries) {
            if (strcasecmp(e.name.c_str(), name) != 0) continue;
            const auto* b = static_cast<const uint8_t*>(bytes);
            if (e.type == VARKIND_STRING) e.text.assign(reinterpret_cast<const char*>(b), length ? length - 1 : 0);
            else e.value.assign(b, b + length);
            e.modified = 1;
            break;
        }
        return 1;
    }
};

class EndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(RunTool("\"" + std::string(QUILLET_PATH) + "\""), 0); }
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }

    template <class I>
    ComPtr<I> Create(DWORD context = CLSCTX_INPROC_SERVER)
    {
        ComPtr<I> p;
        EXPECT_EQ(CoCreateInstance(CLSID_VariableStorage, nullptr, context, InterfaceId<I>::value, p.AsOut()), S_OK);
        return p;
    }

    static ComPtr<IUnknown> Identity(IUnknown* p)
    {
        ComPtr<IUnknown> u;
        p->QueryInterface(IID_IUnknown, u.AsOut());
        return u;
    }

    TempFolder folder;
};

}  // namespace

TEST_F(EndToEnd, RegistrationEntriesAreExactlyTheComponentsOwn)
{
    RegKey prog;
    std::string text;
    ASSERT_EQ(prog.Open(HKEY_CLASSES_ROOT, "Pelmaxi.VariableStorage"), ERROR_SUCCESS);
    prog.QueryString("", text);
    EXPECT_EQ(text, "Variable Storage component");
    RegKey progClsid;
    ASSERT_EQ(progClsid.Open(HKEY_CLASSES_ROOT, "Pelmaxi.VariableStorage\\CLSID"), ERROR_SUCCESS);
    progClsid.QueryString("", text);
    EXPECT_EQ(text, "{B9D2F682-6B25-4CE5-9DBF-6B3C75D2E9EE}");

    const std::string cls = "CLSID\\{B9D2F682-6B25-4CE5-9DBF-6B3C75D2E9EE}";
    RegKey key, progId, server;
    ASSERT_EQ(key.Open(HKEY_CLASSES_ROOT, cls), ERROR_SUCCESS);
    key.QueryString("", text);
    EXPECT_EQ(text, "Variable Storage component");
    ASSERT_EQ(progId.Open(HKEY_CLASSES_ROOT, cls + "\\ProgId"), ERROR_SUCCESS);
    progId.QueryString("", text);
    EXPECT_EQ(text, "Pelmaxi.VariableStorage");
    ASSERT_EQ(server.Open(HKEY_CLASSES_ROOT, cls + "\\InProcServer32"), ERROR_SUCCESS);
    server.QueryString("", text);
    EXPECT_EQ(text, std::filesystem::canonical(QUILLET_PATH).string());
    server.QueryString("ThreadingModel", text);
    EXPECT_EQ(text, "Apartment");

    // Unregistering removes them and keeps the "CLSID" key; registering again restores them.
    ASSERT_EQ(RunTool("-u \"" + std::string(QUILLET_PATH) + "\""), 0);
    RegKey gone, parent;
    EXPECT_NE(gone.Open(HKEY_CLASSES_ROOT, cls), ERROR_SUCCESS);
    EXPECT_NE(gone.Open(HKEY_CLASSES_ROOT, "Pelmaxi.VariableStorage"), ERROR_SUCCESS);
    EXPECT_EQ(parent.Open(HKEY_CLASSES_ROOT, "CLSID"), ERROR_SUCCESS);
    ComPtr<IVariableStorage> none;
    EXPECT_EQ(CoCreateInstance(CLSID_VariableStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IVariableStorage,
                               none.AsOut()),
              REGDB_E_CLASSNOTREG);
    ASSERT_EQ(RunTool("\"" + std::string(QUILLET_PATH) + "\""), 0);
}

TEST_F(EndToEnd, ValuesSurviveARestartOfTheComponent)
{
    TestList list("LBM");
    list.AddInt("init|gridWidth", 256, false);
    list.AddString("view|title", "flow", false);
    list.AddDouble("runtime|viscosity", 0.02, false);
    Client client{&list, {}};
    {
        // As the simulation program does it: all contexts, run, then the interface.
        ComPtr<IUnknown> unknown = Create<IUnknown>(CLSCTX_ALL);
        ASSERT_EQ(OleRun(unknown.Get()), S_OK);
        IVariableStoragePtr storage;
        ASSERT_EQ(unknown.As(storage), S_OK);
        EXPECT_EQ(storage->Load(folder.Wide().c_str()), 1);
        storage->UseVariableList(&kListId, &list);
        auto attach = Create<IVariableStorageAttach>();
        ASSERT_TRUE(attach);
        EXPECT_EQ(Identity(attach.Get()).Get(), Identity(storage.Get()).Get());  // one object
        attach->AttachVariableList(&kListId, &Client::Callback, &client);
        EXPECT_TRUE(client.received.empty());

        const int32_t width = 512;
        EXPECT_EQ(storage->SetData(&kListId, "INIT|GRIDWIDTH", &width, 4), 1);
        EXPECT_EQ(storage->SetData(&kListId, "view|title", "vortex", 7), 1);
        IVariableStorage2Ptr storage2;
        ASSERT_EQ(storage.As(storage2), S_OK);
        BSTR errors = nullptr;
        EXPECT_EQ(storage2->Save(folder.Wide().c_str(), &errors), 1);
        EXPECT_EQ(SysStringLen(errors), 0u);
        SysFreeString(errors);
    }
    EXPECT_EQ(list.refs, 0u);  // the last release let go of the list
    ASSERT_TRUE(folder.Exists("{551F6B37-A5BC-4746-8E1F-C66F877F5022}"));

    // A new run: the values come back through the callback of a new client.
    for (auto& e : list.entries) e.modified = 0;
    list.entries[0].value = {0, 1, 0, 0};
    list.entries[1].text = "flow";
    Client restarted{&list, {}};
    auto storage = Create<IVariableStorage>();
    auto attachFirst = Create<IVariableStorageAttach>();
    attachFirst->AttachVariableList(&kListId, &Client::Callback, &restarted);
    EXPECT_TRUE(restarted.received.empty());  // the new object starts empty
    storage->Load(folder.Wide().c_str());
    // The file holds the names as the list enumerates them.
    ASSERT_EQ(restarted.received.size(), 2u);
    EXPECT_EQ(restarted.received[0], "init|gridWidth");
    EXPECT_EQ(restarted.received[1], "view|title");
    int32_t width = 0;
    std::memcpy(&width, list.entries[0].value.data(), 4);
    EXPECT_EQ(width, 512);
    EXPECT_EQ(list.entries[1].text, "vortex");
    EXPECT_EQ(list.entries[2].modified, 0);
}

TEST_F(EndToEnd, LastReleaseLetsTheModuleUnloadAndANewCreationStartsEmpty)
{
    {
        auto storage = Create<IVariableStorage>();
        const uint8_t v = 1;
        storage->SetData(&kListId, "x", &v, 1);
        CoFreeUnusedLibraries();  // still referenced: stays loaded
        EXPECT_EQ(CoLoadedModuleCount(), 1u);
    }
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoLoadedModuleCount(), 0u);

    auto attach = Create<IVariableStorageAttach>();
    ASSERT_TRUE(attach);
    std::vector<std::string> seen;
    attach->AttachVariableList(
        &kListId,
        [](const char* name, const void*, unsigned, void* context) -> int32_t {
            static_cast<std::vector<std::string>*>(context)->push_back(name);
            return 0;
        },
        &seen);
    EXPECT_TRUE(seen.empty());
}
