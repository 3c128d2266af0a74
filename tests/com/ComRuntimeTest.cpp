#include <dlfcn.h>
#include <sys/wait.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/com/Com.h"
#include "platform/registry/Registry.h"
#include "tests/com/RegistryFolder.h"
#include "tests/com/TestServer.h"

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status;
    std::string output;  // stdout and stderr together
};

class ComRuntimeTest : public RegistryFolder {
protected:
    void SetUp() override
    {
        RegistryFolder::SetUp();
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override
    {
        CoUninitialize();
        CoFreeUnusedLibraries();
        RegistryFolder::TearDown();
    }

    ToolRun Comreg(const std::string& arguments) const
    {
        const fs::path log = folder / "comreg.log";
        const std::string command = std::string("'") + COMREG_PATH + "' " + arguments + " >'" + log.string() + "' 2>&1";
        const int raw = std::system(command.c_str());
        std::ifstream in(log);
        std::stringstream text;
        text << in.rdbuf();
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
    }

    void Register() { ASSERT_EQ(Comreg(std::string("'") + TEST_SERVER_PATH + "'").status, 0); }

    // Whether the dynamic loader still has the module mapped.
    static bool ModuleMapped()
    {
        void* handle = ::dlopen(TEST_SERVER_PATH, RTLD_NOW | RTLD_NOLOAD);
        if (handle) ::dlclose(handle);
        return handle != nullptr;
    }

    static std::string Default(const std::string& key)
    {
        RegKey k;
        std::string value;
        if (k.Open(HKEY_CLASSES_ROOT, key) != ERROR_SUCCESS || k.QueryString("", value) != ERROR_SUCCESS)
            return "<missing>";
        return value;
    }

    void RegisterServerPath(const GUID& clsid, const std::string& path)
    {
        RegKey key;
        ASSERT_EQ(key.Create(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(clsid) + "\\InProcServer32"), ERROR_SUCCESS);
        ASSERT_EQ(key.SetString("", path), ERROR_SUCCESS);
    }
};

const std::string kClassKey = "CLSID\\{6C1E2A40-93D7-4B8E-A15F-207C9E31D458}";

}  // namespace

TEST_F(ComRuntimeTest, ToolWritesTheRegistrationEntries)
{
    const ToolRun run = Comreg(std::string("'") + TEST_SERVER_PATH + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("registered"), std::string::npos) << run.output;

    EXPECT_EQ(Default("ComTest.Object"), kTestDescription);
    EXPECT_EQ(Default("ComTest.Object\\CLSID"), "{6C1E2A40-93D7-4B8E-A15F-207C9E31D458}");
    EXPECT_EQ(Default(kClassKey), kTestDescription);
    EXPECT_EQ(Default(kClassKey + "\\ProgId"), "ComTest.Object");
    EXPECT_EQ(Default(kClassKey + "\\InProcServer32"), fs::canonical(TEST_SERVER_PATH).string());
    RegKey server;
    ASSERT_EQ(server.Open(HKEY_CLASSES_ROOT, kClassKey + "\\InProcServer32"), ERROR_SUCCESS);
    std::string model;
    ASSERT_EQ(server.QueryString("ThreadingModel", model), ERROR_SUCCESS);
    EXPECT_EQ(model, "Apartment");

    // Registration replaces the class key whole: stale entries go.
    {
        RegKey stale;
        ASSERT_EQ(stale.Create(HKEY_CLASSES_ROOT, kClassKey + "\\Stale"), ERROR_SUCCESS);
    }
    ASSERT_EQ(Comreg(std::string("'") + TEST_SERVER_PATH + "'").status, 0);
    EXPECT_EQ(Default(kClassKey + "\\Stale"), "<missing>");
    RegKey staleGone;
    EXPECT_EQ(staleGone.Open(HKEY_CLASSES_ROOT, kClassKey + "\\Stale"), ERROR_FILE_NOT_FOUND);

    const ToolRun undo = Comreg(std::string("-u '") + TEST_SERVER_PATH + "'");
    ASSERT_EQ(undo.status, 0) << undo.output;
    RegKey gone;
    EXPECT_EQ(gone.Open(HKEY_CLASSES_ROOT, kClassKey), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(gone.Open(HKEY_CLASSES_ROOT, "ComTest.Object"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(gone.Open(HKEY_CLASSES_ROOT, "CLSID"), ERROR_SUCCESS) << "the parent key stays";
    EXPECT_EQ(Comreg(std::string("-u '") + TEST_SERVER_PATH + "'").status, 0) << "unregistering twice is fine";
}

TEST_F(ComRuntimeTest, ToolReportsFailures)
{
    ToolRun run = Comreg("'" + (folder / "nothing.so").string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("module not found"), std::string::npos) << run.output;

    run = Comreg(std::string("'") + PLAIN_MODULE_PATH + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("does not export DllRegisterServer"), std::string::npos) << run.output;

    std::ofstream(folder / "garbage.so") << "not a shared library";
    run = Comreg("'" + (folder / "garbage.so").string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("cannot load"), std::string::npos) << run.output;

    ::setenv("COMTEST_FAIL_REGISTER", "1", 1);
    run = Comreg(std::string("'") + TEST_SERVER_PATH + "'");
    ::unsetenv("COMTEST_FAIL_REGISTER");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("0x80004005"), std::string::npos) << run.output;

    // A registry that cannot be written: the module's failure is reported.
    std::ofstream(folder / "file") << "in the way";
    ::setenv("COMREGISTRY_DIR", (folder / "file" / "registry").c_str(), 1);
    run = Comreg(std::string("'") + TEST_SERVER_PATH + "'");
    ::setenv("COMREGISTRY_DIR", folder.c_str(), 1);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("0x80040201"), std::string::npos) << run.output;

    EXPECT_EQ(Comreg("").status, 2);
    EXPECT_EQ(Comreg("-x module.so").status, 2);
    EXPECT_EQ(Comreg("a.so b.so").status, 2);
}

TEST_F(ComRuntimeTest, CreatesByClassIdThroughOneLoadedModule)
{
    Register();
    ITestObjectPtr first;
    ASSERT_EQ(CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_INPROC_SERVER, IID_ITestObject, first.AsOut()), S_OK);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->LiveObjects(), 1);

    // Every context is served in process; the module is loaded once.
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.AsOut()), S_OK);
    EXPECT_EQ(OleRun(unknown.Get()), S_OK);
    ITestObjectPtr second;
    ASSERT_EQ(unknown.As(second), S_OK);
    EXPECT_NE(second.Get(), first.Get());
    EXPECT_EQ(first->LiveObjects(), 2) << "both objects count in the same module";
    EXPECT_EQ(first->ModuleState(), second->ModuleState());
    EXPECT_EQ(CoLoadedModuleCount(), 1u);

    ITestObjectPtr third;
    ASSERT_EQ(CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_LOCAL_SERVER, IID_ITestObject, third.AsOut()), S_OK);
    EXPECT_EQ(CoLoadedModuleCount(), 1u);

    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_ALL, IID_IClassFactory, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(CoCreateInstance(CLSID_TestObject, first.Get(), CLSCTX_ALL, IID_IUnknown, &object),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(ComRuntimeTest, ConcurrentCreationsShareOneModule)
{
    Register();
    std::vector<std::thread> threads;
    std::atomic<int> created{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 25; ++i) {
                ITestObjectPtr object;
                if (CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_ALL, IID_ITestObject, object.AsOut()) == S_OK)
                    ++created;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(created, 100);
    EXPECT_EQ(CoLoadedModuleCount(), 1u);
}

TEST_F(ComRuntimeTest, UnregisteredOrBrokenServersFail)
{
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_ALL, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);

    const GUID missing = {0x11111111, 1, 1, {1, 1, 1, 1, 1, 1, 1, 1}};
    RegisterServerPath(missing, (folder / "gone.so").string());
    EXPECT_EQ(CoCreateInstance(missing, nullptr, CLSCTX_ALL, IID_IUnknown, &object), CO_E_DLLNOTFOUND);

    const GUID notAModule = {0x22222222, 2, 2, {2, 2, 2, 2, 2, 2, 2, 2}};
    std::ofstream(folder / "text.so") << "text";
    RegisterServerPath(notAModule, (folder / "text.so").string());
    EXPECT_EQ(CoCreateInstance(notAModule, nullptr, CLSCTX_ALL, IID_IUnknown, &object), CO_E_ERRORINDLL);

    const GUID noEntry = {0x33333333, 3, 3, {3, 3, 3, 3, 3, 3, 3, 3}};
    RegisterServerPath(noEntry, PLAIN_MODULE_PATH);
    EXPECT_EQ(CoCreateInstance(noEntry, nullptr, CLSCTX_ALL, IID_IUnknown, &object), CO_E_ERRORINDLL);
    EXPECT_EQ(CoLoadedModuleCount(), 0u);

    // A class the module does not serve, registered to it.
    Register();
    const GUID other = {0x44444444, 4, 4, {4, 4, 4, 4, 4, 4, 4, 4}};
    RegisterServerPath(other, TEST_SERVER_PATH);
    EXPECT_EQ(CoCreateInstance(other, nullptr, CLSCTX_ALL, IID_IUnknown, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ComRuntimeTest, UnusedModulesAreUnloaded)
{
    Register();
    ASSERT_FALSE(ModuleMapped());
    ITestObjectPtr object;
    ASSERT_EQ(CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_ALL, IID_ITestObject, object.AsOut()), S_OK);
    IClassFactoryPtr factory;
    ASSERT_EQ(CoGetClassObject(CLSID_TestObject, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.AsOut()),
              S_OK);
    ASSERT_TRUE(ModuleMapped());

    CoFreeUnusedLibraries();
    EXPECT_TRUE(ModuleMapped()) << "an object is alive";
    object = nullptr;
    CoFreeUnusedLibraries();
    EXPECT_TRUE(ModuleMapped()) << "the factory is held";
    factory = nullptr;
    CoFreeUnusedLibraries();
    EXPECT_FALSE(ModuleMapped());
    EXPECT_EQ(CoLoadedModuleCount(), 0u);

    // Loaded afresh on the next creation.
    ASSERT_EQ(CoCreateInstance(CLSID_TestObject, nullptr, CLSCTX_ALL, IID_ITestObject, object.AsOut()), S_OK);
    EXPECT_EQ(object->LiveObjects(), 1);
    EXPECT_EQ(CoLoadedModuleCount(), 1u);
}

TEST_F(ComRuntimeTest, ProgIdsAndClassIdsMapBothWays)
{
    LPOLESTR progId = reinterpret_cast<LPOLESTR>(1);
    EXPECT_EQ(ProgIDFromCLSID(CLSID_TestObject, &progId), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(progId, nullptr);
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(L"ComTest.Object", &clsid), CO_E_CLASSSTRING);

    Register();
    ASSERT_EQ(ProgIDFromCLSID(CLSID_TestObject, &progId), S_OK);
    EXPECT_STREQ(progId, L"ComTest.Object");
    CoTaskMemFree(progId);
    ASSERT_EQ(CLSIDFromProgID(L"comtest.object", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TestObject);

    // Neither a class id string, nor a path into other keys, nor a file
    // name of a data folder names a class.
    EXPECT_EQ(CLSIDFromProgID(L"{6C1E2A40-93D7-4B8E-A15F-207C9E31D458}", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(L"CLSID\\{6C1E2A40-93D7-4B8E-A15F-207C9E31D458}", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(L"uselist.txt", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(L"..", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(L"", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(clsid, GUID_NULL);

    // A ProgID whose CLSID value is no class id.
    RegKey broken;
    ASSERT_EQ(broken.Create(HKEY_CLASSES_ROOT, "Broken.Object\\CLSID"), ERROR_SUCCESS);
    ASSERT_EQ(broken.SetString("", "not a class id"), ERROR_SUCCESS);
    EXPECT_EQ(CLSIDFromProgID(L"Broken.Object", &clsid), CO_E_CLASSSTRING);
}

TEST(CoInitializeCount, IsKeptPerThread)
{
    ASSERT_EQ(CoInitializeCount(), 0);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    EXPECT_EQ(CoInitializeCount(), 2);

    std::thread other([] {
        EXPECT_EQ(CoInitializeCount(), 0);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CoUninitialize();
        EXPECT_EQ(CoInitializeCount(), 0);
    });
    other.join();

    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitializeCount(), 0);
    CoUninitialize();  // unbalanced: ignored
    EXPECT_EQ(CoInitializeCount(), 0);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK) << "a fresh start may pick another model";
    CoUninitialize();
}
