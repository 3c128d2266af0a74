#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/registry/Registry.h"
#include "tests/com/RegistryFolder.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/WaitWatch.h"

namespace fs = std::filesystem;

namespace {

class RegistryTest : public RegistryFolder {
protected:
    // Every file below the registry folder, relative names.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            files.push_back(fs::relative(entry.path(), folder).string());
        return files;
    }
};

// Sets an environment variable (unsets it for null) until the end of scope.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name(name)
    {
        if (const char* old = std::getenv(name)) previous = old;
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (previous) ::setenv(name, previous->c_str(), 1);
        else ::unsetenv(name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name;
    std::optional<std::string> previous;
};

std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> bytes;
    for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

}  // namespace

TEST_F(RegistryTest, ValuesRoundTripWithTheirTypes)
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, "SOFTWARE\\Maker\\Product"), ERROR_SUCCESS);
    const auto binary = Bytes({0, 1, 0, 255, 0, 0x80});
    ASSERT_EQ(key.SetBinary("Blob", binary.data(), binary.size()), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString("", "default text"), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString("Named", "named text"), ERROR_SUCCESS);
    const uint32_t number = 0x01020304;
    ASSERT_EQ(RegSetValueEx(key.Get(), "Number", 0, REG_DWORD, reinterpret_cast<const uint8_t*>(&number), 4),
              ERROR_SUCCESS);
    ASSERT_EQ(key.SetBinary("Empty", nullptr, 0), ERROR_SUCCESS);
    key.Close();

    // Read back through a fresh handle, as another process would.
    RegKey reader;
    ASSERT_EQ(reader.Open(HKEY_CURRENT_USER, "SOFTWARE\\Maker\\Product"), ERROR_SUCCESS);
    std::vector<uint8_t> got;
    DWORD type = REG_NONE;
    ASSERT_EQ(reader.QueryBinary("Blob", got, &type), ERROR_SUCCESS);
    EXPECT_EQ(got, binary);
    EXPECT_EQ(type, REG_BINARY);
    std::string text;
    ASSERT_EQ(reader.QueryString("", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "default text");
    ASSERT_EQ(reader.QueryBinary("Named", got, &type), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(got.size(), std::strlen("named text") + 1) << "strings are stored with their zero";
    ASSERT_EQ(reader.QueryBinary("Number", got, &type), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(got, Bytes({4, 3, 2, 1}));
    ASSERT_EQ(reader.QueryBinary("Empty", got, &type), ERROR_SUCCESS);
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(reader.QueryString("Missing", text), ERROR_FILE_NOT_FOUND);

    // The default value has the empty or the null name.
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueEx(reader.Get(), nullptr, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, std::strlen("default text") + 1);
}

TEST_F(RegistryTest, QueryReportsSizesAndRefusesShortBuffers)
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, "K"), ERROR_SUCCESS);
    const auto twenty = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    ASSERT_EQ(key.SetBinary("V", twenty.data(), twenty.size()), ERROR_SUCCESS);

    uint8_t buffer[32];
    std::memset(buffer, 0xEE, sizeof buffer);
    DWORD size = 10;
    EXPECT_EQ(RegQueryValueEx(key.Get(), "V", nullptr, nullptr, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 20u);
    EXPECT_EQ(buffer[0], 0xEE) << "a value that does not fit is not copied";

    size = sizeof buffer;
    ASSERT_EQ(RegQueryValueEx(key.Get(), "V", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 20u);
    EXPECT_EQ(std::memcmp(buffer, twenty.data(), 20), 0);
    EXPECT_EQ(buffer[20], 0xEE);

    // A shorter stored value fills only the front of a larger buffer.
    const auto three = Bytes({9, 9, 9});
    ASSERT_EQ(key.SetBinary("V", three.data(), three.size()), ERROR_SUCCESS);
    size = sizeof buffer;
    ASSERT_EQ(RegQueryValueEx(key.Get(), "V", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(buffer[3], 4);
}

TEST_F(RegistryTest, KeyAndValueNamesIgnoreCase)
{
    RegKey key;
    DWORD disposition = 0;
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, "CLSID\\{ABCDEF00-1111-2222-3333-444455556666}\\InProcServer32", 0,
                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, &disposition),
              ERROR_SUCCESS);
    key = RegKey(raw);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    ASSERT_EQ(key.SetString("ThreadingModel", "Apartment"), ERROR_SUCCESS);

    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, "clsid\\{abcdef00-1111-2222-3333-444455556666}\\INPROCSERVER32", 0,
                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, &disposition),
              ERROR_SUCCESS);
    RegKey again(raw);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    std::string text;
    ASSERT_EQ(again.QueryString("threadingmodel", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "Apartment");
    ASSERT_EQ(again.SetString("THREADINGMODEL", "Both"), ERROR_SUCCESS);
    ASSERT_EQ(key.QueryString("ThreadingModel", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "Both") << "one value, whatever the case of its name";

    // The hives are separate trees.
    RegKey other;
    EXPECT_EQ(other.Open(HKEY_CURRENT_USER, "CLSID"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, OddNamesStayInsideTheirKey)
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, "Odd"), ERROR_SUCCESS);
    for (const char* name : {"..", ".", "a/b", "=x", "%41", "A", "naïve", ".hidden"}) {
        ASSERT_EQ(key.SetString(name, name), ERROR_SUCCESS) << name;
        RegKey child;
        ASSERT_EQ(child.Create(key.Get(), name), ERROR_SUCCESS) << name;
    }
    for (const char* name : {"..", ".", "a/b", "=x", "%41", "naïve", ".hidden"}) {
        std::string text;
        ASSERT_EQ(key.QueryString(name, text), ERROR_SUCCESS) << name;
        EXPECT_EQ(text, name);
        RegKey child;
        EXPECT_EQ(child.Open(key.Get(), name), ERROR_SUCCESS) << name;
    }
    std::string text;
    ASSERT_EQ(key.QueryString("a", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "A") << "\"%41\" and \"A\" are different names";
    for (const std::string& file : Files()) EXPECT_EQ(file.find(".."), std::string::npos) << file;
}

TEST_F(RegistryTest, AValueThatIsNoFileIsUnreadableWithoutWaiting)
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, "Pipes"), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString("Value", "text"), ERROR_SUCCESS);
    std::vector<std::string> files;
    for (const std::string& file : Files())
        if (fs::is_regular_file(fs::path(folder) / file)) files.push_back(file);
    ASSERT_EQ(files.size(), 1u);
    const fs::path value = fs::path(folder) / files[0];
    fs::remove(value);
    ASSERT_EQ(mkfifo(value.c_str(), 0600), 0);

    std::string text;
    LSTATUS status;
    {
        const WaitWatch watch;
        status = key.QueryString("Value", text);
        EXPECT_EQ(watch.Interrupts(), 0);
    }
    EXPECT_NE(status, ERROR_SUCCESS);
}

TEST_F(RegistryTest, DeletingKeysAndValues)
{
    RegKey root;
    ASSERT_EQ(root.Create(HKEY_CLASSES_ROOT, "Tree"), ERROR_SUCCESS);
    for (const char* path : {"Tree\\A\\B\\C", "Tree\\A\\D", "Tree\\E"}) {
        RegKey key;
        ASSERT_EQ(key.Create(HKEY_CLASSES_ROOT, path), ERROR_SUCCESS);
        ASSERT_EQ(key.SetString("", path), ERROR_SUCCESS);
    }
    ASSERT_EQ(root.SetString("Top", "value"), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, "Tree\\A"), ERROR_ACCESS_DENIED) << "it has subkeys";
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, "tree\\e"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, "Tree\\E"), ERROR_FILE_NOT_FOUND);

    RegKey held;
    ASSERT_EQ(held.Open(HKEY_CLASSES_ROOT, "Tree\\A\\B\\C", KEY_ALL_ACCESS), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTree(HKEY_CLASSES_ROOT, "TREE\\a"), ERROR_SUCCESS);
    RegKey gone;
    EXPECT_EQ(gone.Open(HKEY_CLASSES_ROOT, "Tree\\A"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(gone.Open(HKEY_CLASSES_ROOT, "Tree\\A\\B\\C"), ERROR_FILE_NOT_FOUND);
    std::string text;
    EXPECT_EQ(held.QueryString("", text), ERROR_KEY_DELETED);
    EXPECT_EQ(held.SetString("", "x"), ERROR_KEY_DELETED) << "a deleted key is not brought back";
    EXPECT_EQ(RegDeleteTree(HKEY_CLASSES_ROOT, "Tree\\A"), ERROR_FILE_NOT_FOUND);

    // With no subkey, the tree empties the key itself.
    ASSERT_EQ(RegDeleteTree(root.Get(), nullptr), ERROR_SUCCESS);
    EXPECT_EQ(root.QueryString("Top", text), ERROR_FILE_NOT_FOUND);
    RegKey still;
    EXPECT_EQ(still.Open(HKEY_CLASSES_ROOT, "Tree"), ERROR_SUCCESS);

    ASSERT_EQ(root.SetString("V", "x"), ERROR_SUCCESS);
    EXPECT_EQ(root.DeleteValue("v"), ERROR_SUCCESS);
    EXPECT_EQ(root.DeleteValue("V"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKey(HKEY_CLASSES_ROOT, ""), ERROR_INVALID_PARAMETER) << "a hive is not a key to delete";

    // Nothing of the deleted keys is left on disk.
    for (const std::string& file : Files()) EXPECT_EQ(file.find(".del-"), std::string::npos) << file;
}

TEST_F(RegistryTest, HandlesKeepTheirRights)
{
    RegKey writer;
    ASSERT_EQ(writer.Create(HKEY_CURRENT_USER, "Rights"), ERROR_SUCCESS);
    ASSERT_EQ(writer.SetString("V", "old"), ERROR_SUCCESS);
    RegKey reader;
    ASSERT_EQ(reader.Open(HKEY_CURRENT_USER, "Rights", KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(reader.SetString("V", "new"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(reader.DeleteValue("V"), ERROR_ACCESS_DENIED);
    RegKey child;
    EXPECT_EQ(child.Create(reader.Get(), "Child"), ERROR_ACCESS_DENIED);
    std::string text;
    ASSERT_EQ(reader.QueryString("V", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "old");

    RegKey missing;
    EXPECT_EQ(missing.Open(HKEY_CURRENT_USER, "Rights\\Nope"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(missing);
    EXPECT_EQ(RegSetValueEx(nullptr, "V", 0, REG_SZ, nullptr, 0), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, WritesLeaveNoTemporaryFiles)
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, "SOFTWARE\\Atomic"), ERROR_SUCCESS);
    for (int i = 0; i < 20; ++i) {
        const std::string value(static_cast<std::size_t>(i) * 100, static_cast<char>('a' + i));
        ASSERT_EQ(key.SetString("GuiData", value), ERROR_SUCCESS);
    }
    std::string text;
    ASSERT_EQ(key.QueryString("guidata", text), ERROR_SUCCESS);
    EXPECT_EQ(text, std::string(1900, 't'));
    for (const std::string& file : Files()) EXPECT_EQ(file.find(".tmp"), std::string::npos) << file;
}

TEST_F(RegistryTest, TheLongestValueNameIsWrittenInOneStep)
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, "Atomic"), ERROR_SUCCESS);
    const std::string longest(250, 'v');
    ASSERT_EQ(key.SetString(longest, "old"), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString(longest, "new"), ERROR_SUCCESS);
    std::string text;
    ASSERT_EQ(key.QueryString(longest, text), ERROR_SUCCESS);
    EXPECT_EQ(text, "new");
    EXPECT_NE(key.SetString(longest + "v", "x"), ERROR_SUCCESS) << "one more is too long";
}

TEST_F(RegistryTest, FailedWriteKeepsTheOldValue)
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, "Atomic"), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString("V", "old value"), ERROR_SUCCESS);

    // A file size limit makes the write of a large value fail half way,
    // even for a privileged user.
    LSTATUS status;
    {
        const FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Active());
        status = key.SetString("V", std::string(100000, 'n'));
    }

    EXPECT_EQ(status, ERROR_CANTWRITE);
    std::string text;
    ASSERT_EQ(key.QueryString("V", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "old value");
    for (const std::string& file : Files()) EXPECT_EQ(file.find(".tmp"), std::string::npos) << file;
}

TEST_F(RegistryTest, ReaderNeverSeesHalfAValue)
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, "Race"), ERROR_SUCCESS);
    const std::vector<uint8_t> a(1024 * 1024, 'a'), b(1536 * 1024, 'b');
    ASSERT_EQ(key.SetBinary("V", a.data(), a.size()), ERROR_SUCCESS);

    std::atomic<bool> done{false};
    std::thread writer([&] {
        RegKey own;
        own.Open(HKEY_CURRENT_USER, "Race", KEY_ALL_ACCESS);
        for (int i = 0; i < 40; ++i) {
            const auto& value = i % 2 ? a : b;
            own.SetBinary("V", value.data(), value.size());
        }
        done = true;
    });
    int reads = 0;
    RegKey reader;
    EXPECT_EQ(reader.Open(HKEY_CURRENT_USER, "Race"), ERROR_SUCCESS);
    while (!done || reads < 10) {
        std::vector<uint8_t> got;
        const LSTATUS status = reader.QueryBinary("V", got);
        const bool whole = status == ERROR_SUCCESS && (got == a || got == b);
        EXPECT_TRUE(whole) << "status " << status << ", read " << got.size() << " bytes";
        if (!whole) break;
        ++reads;
    }
    writer.join();
}

TEST_F(RegistryTest, LocationFollowsTheEnvironment)
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, "Where"), ERROR_SUCCESS);
    ASSERT_EQ(key.SetString("V", "here"), ERROR_SUCCESS);
    EXPECT_EQ(RegistryRootPath(), folder.string());
    EXPECT_TRUE(fs::is_directory(folder / "HKEY_CURRENT_USER" / "where"));

    // Without the override, the user's configuration folder; a second
    // folder holds its own registry.
    ::unsetenv("COMREGISTRY_DIR");
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string restoreConfig = savedConfig ? savedConfig : "";
    ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    EXPECT_EQ(RegistryRootPath(), (folder / "config" / "comregistry").string());
    RegKey elsewhere;
    EXPECT_EQ(elsewhere.Open(HKEY_CURRENT_USER, "Where"), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(elsewhere.Create(HKEY_CURRENT_USER, "Where"), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_directory(folder / "config" / "comregistry" / "HKEY_CURRENT_USER" / "where"));
    if (savedConfig) ::setenv("XDG_CONFIG_HOME", restoreConfig.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("COMREGISTRY_DIR", folder.c_str(), 1);

    std::string text;
    ASSERT_EQ(key.QueryString("V", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "here");
}

TEST_F(RegistryTest, ClassesRegisteredForEveryUserCompleteTheUsersOwn)
{
    const fs::path machine = folder / "machine";
    {
        ScopedVariable registry("COMREGISTRY_DIR", (machine / "comregistry").c_str());
        RegKey key;
        ASSERT_EQ(key.Create(HKEY_CLASSES_ROOT, "CLSID\\{A}\\InProcServer32"), ERROR_SUCCESS);
        ASSERT_EQ(key.SetString("", "machine-a.so"), ERROR_SUCCESS);
        ASSERT_EQ(key.Create(HKEY_CLASSES_ROOT, "CLSID\\{B}\\InProcServer32"), ERROR_SUCCESS);
        ASSERT_EQ(key.SetString("", "machine-b.so"), ERROR_SUCCESS);
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, "Settings"), ERROR_SUCCESS);
    }
    // A registry named by COMREGISTRY_DIR stands alone.
    RegKey key;
    EXPECT_EQ(key.Open(HKEY_CLASSES_ROOT, "CLSID\\{A}"), ERROR_FILE_NOT_FOUND);

    ScopedVariable named("COMREGISTRY_DIR", nullptr);
    ScopedVariable user("XDG_CONFIG_HOME", (folder / "user").c_str());
    ScopedVariable dirs("XDG_CONFIG_DIRS", ("relative:" + machine.string()).c_str());
    EXPECT_EQ(MachineRegistryRootPath(), (machine / "comregistry").string());
    RegKey own;
    ASSERT_EQ(own.Create(HKEY_CLASSES_ROOT, "CLSID\\{A}\\InProcServer32"), ERROR_SUCCESS);
    ASSERT_EQ(own.SetString("", "user-a.so"), ERROR_SUCCESS);

    // The user's key wins; one the user lacks comes from the machine, also
    // when opened below a key the user has.
    std::string path;
    ASSERT_EQ(key.Open(HKEY_CLASSES_ROOT, "CLSID\\{A}\\InProcServer32"), ERROR_SUCCESS);
    ASSERT_EQ(key.QueryString("", path), ERROR_SUCCESS);
    EXPECT_EQ(path, "user-a.so");
    RegKey classes;
    ASSERT_EQ(classes.Open(HKEY_CLASSES_ROOT, "CLSID"), ERROR_SUCCESS);
    ASSERT_EQ(key.Open(classes.Get(), "{B}\\InProcServer32"), ERROR_SUCCESS);
    ASSERT_EQ(key.QueryString("", path), ERROR_SUCCESS);
    EXPECT_EQ(path, "machine-b.so");
    // The user's settings are the user's only.
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, "Settings"), ERROR_FILE_NOT_FOUND);
}
