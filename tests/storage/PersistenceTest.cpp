// The data folder: file names, record bytes, messages, "uselist.txt", and
// what a failed or damaged file leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "component/SingleWrapper.h"
#include "component/VariableStorageFactory.h"
#include "component/VariableStorageImpl.h"
#include "platform/com/Com.h"
#include "platform/registry/Registry.h"
#include "tests/storage/TestList.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaitWatch.h"

namespace {

constexpr GUID kNamed = {0x12345678, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};
constexpr GUID kPlain = {0x0FEDCBA9, 0x8765, 0x4321, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
const std::string kPlainName = "{0FEDCBA9-8765-4321-0123-456789ABCDEF}";
const std::string kProgId = "Persistence.TestList";
// kPlain as other tools write class ids: another name of the same list.
const std::string kPlainLower = "{0fedcba9-8765-4321-0123-456789abcdef}";

// A ProgID for kNamed without any server behind it.
void RegisterProgId()
{
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CLASSES_ROOT, kProgId + "\\CLSID"), ERROR_SUCCESS);
    key.SetString("", GuidToString(kNamed));
    RegKey back;
    ASSERT_EQ(back.Create(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(kNamed) + "\\ProgId"), ERROR_SUCCESS);
    back.SetString("", kProgId);
}

struct Seen {
    std::string name;
    std::vector<uint8_t> bytes;
};
struct Client {
    std::vector<Seen> seen;
    static int32_t Callback(const char* name, const void* bytes, unsigned length, void* context)
    {
        const auto* b = static_cast<const uint8_t*>(bytes);
        static_cast<Client*>(context)->seen.push_back({name, b ? std::vector<uint8_t>(b, b + length) : std::vector<uint8_t>{}});
        return 0;
    }
};

std::vector<uint8_t> Record(const std::string& name, const std::vector<uint8_t>& value)
{
    std::vector<uint8_t> out(name.begin(), name.end());
    out.push_back(0);
    const uint32_t n = static_cast<uint32_t>(value.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(n >> (8 * i)));
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

mode_t ModeOf(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

class Persistence : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterProgId();
        ASSERT_EQ(CreateVariableStorage(IID_IVariableStorage, storage.AsOut()), S_OK);
        ASSERT_EQ(storage.As(storage2), S_OK);
        ASSERT_EQ(storage.As(attach), S_OK);
    }

    // Save through the second interface; the messages come back narrow.
    int32_t Save(const std::wstring& folder, std::string& messages)
    {
        BSTR errors = nullptr;
        const int32_t result = storage2->Save(folder.c_str(), &errors);
        EXPECT_NE(errors, nullptr);
        messages = WideToUtf8(errors ? errors : L"");
        SysFreeString(errors);
        return result;
    }

    CVariableStorageImpl& Impl() { return *CSingleWrapper<CVariableStorageImpl>::Instance; }

    TempFolder folder;
    // Client lists outlive the component that holds them.
    TestList list{"list"}, other{"other"};
    IVariableStoragePtr storage;
    IVariableStorage2Ptr storage2;
    IVariableStorageAttachPtr attach;
};

}  // namespace

TEST_F(Persistence, ModifiedValuesOnlyInEnumerationOrderByteForByte)
{
    list.AddString("s", "abc");
    list.AddInt("i|unchanged", 1, false);
    list.AddInt("i|v", 0x0A0B0C0D);
    list.AddDouble("d", 1.0);
    list.AddRaw("rgb", VARKIND_COLORRGB, {1, 2, 3});
    std::vector<uint8_t> pts(64);
    for (size_t k = 0; k < pts.size(); ++k) pts[k] = static_cast<uint8_t>(k);
    list.AddRaw("spline", VARKIND_SPLINE2D, pts);
    list.AddRaw("props", VARKIND_PROPS, {9, 9});
    list.AddRaw("strange", 42, {7, 7, 7});
    storage->UseVariableList(&kPlain, &list);

    std::string messages;
    EXPECT_EQ(Save(folder.Wide(), messages), 1);
    EXPECT_EQ(messages, "");
    std::vector<uint8_t> expected;
    for (const auto& r : {Record("s", {'a', 'b', 'c', 0}), Record("i|v", {0x0D, 0x0C, 0x0B, 0x0A}),
                          Record("d", {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}), Record("rgb", {1, 2, 3}),
                          Record("spline", pts), Record("props", {9, 9}), Record("strange", {})})
        expected.insert(expected.end(), r.begin(), r.end());
    EXPECT_EQ(folder.Read(kPlainName), expected);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{kPlainName});  // no temporary left beside it
}

TEST_F(Persistence, RoundTripReachesALateClientInFileOrder)
{
    TestList& named = list;
    TestList& plain = other;
    named.AddInt("z", 5);
    named.AddString("a", "text");
    plain.AddDouble("x", 2.5);
    storage->UseVariableList(&kNamed, &named);
    storage->UseVariableList(&kPlain, &plain);
    std::string messages;
    ASSERT_EQ(Save(folder.Wide(), messages), 1);
    EXPECT_TRUE(folder.Exists(kProgId));
    EXPECT_TRUE(folder.Exists(kPlainName));

    Client early;
    attach->AttachVariableList(&kNamed, &Client::Callback, &early);
    const uint8_t stale = 1;
    storage->SetData(&kNamed, "stale", &stale, 1);
    early.seen.clear();
    EXPECT_EQ(storage->Load(folder.Wide().c_str()), 1);
    // An attached client hears every loaded value in file order; the store
    // was emptied first.
    ASSERT_EQ(early.seen.size(), 2u);
    EXPECT_EQ(early.seen[0].name, "z");
    EXPECT_EQ(early.seen[1].name, "a");
    EXPECT_EQ(early.seen[1].bytes, (std::vector<uint8_t>{'t', 'e', 'x', 't', 0}));
    EXPECT_EQ(Impl().FindStore(kNamed)->GetValues().count("stale"), 0u);

    Client late;  // found again through the braced class id
    attach->AttachVariableList(&kPlain, &Client::Callback, &late);
    ASSERT_EQ(late.seen.size(), 1u);
    EXPECT_EQ(late.seen[0].name, "x");
    // The lists handed over before the load are gone: no "uselist.txt".
    EXPECT_TRUE(Impl().GetListsInUse().empty());
}

TEST_F(Persistence, NothingModifiedDeletesTheFileAndSucceeds)
{
    list.AddInt("v", 3, false);
    folder.Write(kPlainName, Record("old", {1}));
    storage->UseVariableList(&kPlain, &list);
    std::string messages;
    EXPECT_EQ(Save(folder.Wide(), messages), 1);
    EXPECT_EQ(messages, "");
    EXPECT_FALSE(folder.Exists(kPlainName));
    // Again, with the file already absent.
    EXPECT_EQ(Save(folder.Wide(), messages), 1);
    EXPECT_EQ(storage->Save(folder.Wide().c_str()), 1);
}

TEST_F(Persistence, MissingFolderGivesTheMessagesAndIsNotCreated)
{
    TestList& changed = list;
    TestList& unchanged = other;
    changed.AddInt("v", 3);
    unchanged.AddInt("v", 3, false);
    storage->UseVariableList(&kNamed, &changed);
    storage->UseVariableList(&kPlain, &unchanged);
    const std::string missing = folder.Path("no/such");
    std::string messages;
    EXPECT_EQ(Save(std::wstring(missing.begin(), missing.end()), messages), 0);
    EXPECT_EQ(messages, "Failed to open data file for \"" + kProgId + "\"\n" +
                            "Failed to delete data file for \"" + kPlainName + "\"\n");
    EXPECT_FALSE(folder.Exists("no"));
    EXPECT_EQ(storage->Save(std::wstring(missing.begin(), missing.end()).c_str()), 0);
}

TEST_F(Persistence, UnregisteredListClassIsReportedAndTheOthersAreSaved)
{
    list.AddInt("v", 3);
    storage->UseVariableList(&kNamed, nullptr);
    storage->UseVariableList(&kPlain, &list);
    std::string messages;
    EXPECT_EQ(Save(folder.Wide(), messages), 0);
    EXPECT_EQ(messages, "Failed to create \"" + kProgId + "\"\n");
    EXPECT_TRUE(folder.Exists(kPlainName));
    EXPECT_EQ(storage2->Save(folder.Wide().c_str(), nullptr), 0);
}

TEST_F(Persistence, UseListNamesTheListsAfterALoad)
{
    TestList& handed = list;
    storage->UseVariableList(&kPlain, &handed);
    const uint8_t v = 1;
    storage->SetData(&kPlain, "gone", &v, 1);
    folder.WriteText("uselist.txt", kPlainName + "\n" + kProgId + "\r\n" + "Unknown.ProgId\n" + kProgId);
    EXPECT_EQ(storage->Load(folder.Wide().c_str()), 1);
    auto lists = Impl().GetListsInUse();
    ASSERT_EQ(lists.size(), 1u);  // a braced class id line is not a ProgID
    EXPECT_TRUE(lists.begin()->first == kNamed);
    EXPECT_FALSE(lists.begin()->second);
    EXPECT_TRUE(Impl().FindStore(kPlain)->GetValues().empty());
    EXPECT_EQ(handed.refs, 0u);
}

TEST_F(Persistence, FailedWriteKeepsTheOldFileAndIsReported)
{
    const auto old = Record("old", {1, 2, 3});
    folder.Write(kPlainName, old);
    list.AddRaw("big", VARKIND_PROPS, std::vector<uint8_t>(1 << 20, 0xAB));
    storage->UseVariableList(&kPlain, &list);

    // A file size limit stands in for a full disk.
    std::string messages;
    int32_t result;
    {
        const FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Active());
        result = Save(folder.Wide(), messages);
    }

    EXPECT_EQ(result, 0);
    EXPECT_EQ(messages, "Failed to write data file for \"" + kPlainName + "\"\n");
    EXPECT_EQ(folder.Read(kPlainName), old);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{kPlainName});
}

TEST_F(Persistence, FileThatCannotBeReplacedIsReported)
{
    list.AddInt("v", 1);
    storage->UseVariableList(&kPlain, &list);
    std::filesystem::create_directory(folder.Path(kPlainName));
    folder.Write(kPlainName + "/keep", {1});  // a non-empty folder in the file's place
    std::string messages;
    EXPECT_EQ(Save(folder.Wide(), messages), 0);
    EXPECT_EQ(messages, "Failed to write data file for \"" + kPlainName + "\"\n");
    EXPECT_TRUE(folder.Exists(kPlainName + "/keep"));
}

TEST_F(Persistence, OtherNamesOfAListGiveWayToItsOwnFileAndGoWithTheNextSave)
{
    const auto values = [&] { return Impl().FindStore(kPlain)->GetValues().at("v"); };
    folder.Write(kPlainLower, Record("v", {1}));
    storage->Load(folder.Wide().c_str());
    EXPECT_EQ(values(), std::vector<uint8_t>{1});  // the only file of the list
    folder.Write(kPlainName, Record("v", {2}));
    storage->Load(folder.Wide().c_str());
    EXPECT_EQ(values(), std::vector<uint8_t>{2});  // its own name wins, though the other sorts after it

    list.AddRaw("v", VARKIND_COLORRGB, {3, 3, 3});
    storage->UseVariableList(&kPlain, &list);
    std::string messages;
    EXPECT_EQ(Save(folder.Wide(), messages), 1);
    EXPECT_FALSE(folder.Exists(kPlainLower));
    storage->Load(folder.Wide().c_str());
    EXPECT_EQ(values(), (std::vector<uint8_t>{3, 3, 3}));

    // A reset to defaults sticks: the other name goes with the file.
    folder.Write(kPlainLower, Record("v", {1}));
    list.entries[0].modified = 0;
    storage->UseVariableList(&kPlain, &list);
    EXPECT_EQ(Save(folder.Wide(), messages), 1);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{});
}

TEST_F(Persistence, FifosNamedLikeDataFilesAreSkippedWithoutWaiting)
{
    ASSERT_EQ(mkfifo(folder.Path(kPlainName).c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(folder.Path("uselist.txt").c_str(), 0600), 0);
    folder.Write(kPlainLower, Record("v", {1}));
    {
        const WaitWatch watch;
        EXPECT_EQ(storage->Load(folder.Wide().c_str()), 1);
        EXPECT_EQ(watch.Interrupts(), 0);
    }
    // Its own name is no file: the other name stands in.
    EXPECT_EQ(Impl().FindStore(kPlain)->GetValues().at("v"), std::vector<uint8_t>{1});
}

TEST_F(Persistence, SaveWritesThroughLinksAndKeepsTheFilesMode)
{
    // The final target may even be another name of the list: it stays.
    const std::string target = kPlainLower;
    folder.Write(target, Record("old", {1}));
    ASSERT_EQ(chmod(folder.Path(target).c_str(), 0600), 0);
    std::filesystem::create_symlink("hop", folder.Path(kPlainName));
    std::filesystem::create_symlink(target, folder.Path("hop"));
    list.AddInt("v", 3);
    other.AddInt("v", 4);
    storage->UseVariableList(&kPlain, &list);
    storage->UseVariableList(&kNamed, &other);
    const mode_t umaskBefore = umask(027);
    std::string messages;
    const int32_t result = Save(folder.Wide(), messages);
    umask(umaskBefore);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path(kPlainName)));
    EXPECT_EQ(folder.Read(target), Record("v", {3, 0, 0, 0}));
    EXPECT_EQ(ModeOf(folder.Path(target)), 0600u);
    EXPECT_EQ(ModeOf(folder.Path(kProgId)), 0640u);  // a new file: the umask's

    // Nothing modified: the link stays and its target holds no records.
    list.entries[0].modified = 0;
    EXPECT_EQ(Save(folder.Wide(), messages), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path(kPlainName)));
    EXPECT_TRUE(folder.Read(target).empty());
    EXPECT_EQ(storage->Load(folder.Wide().c_str()), 1);
    EXPECT_TRUE(Impl().FindStore(kPlain) == nullptr || Impl().FindStore(kPlain)->GetValues().empty());
}

TEST_F(Persistence, LinkThatLeadsNowhereIsReportedAndKept)
{
    std::filesystem::create_symlink("missing/data", folder.Path(kPlainName));
    std::filesystem::create_symlink(kProgId, folder.Path(kProgId));  // a loop
    list.AddInt("v", 3);
    other.AddInt("v", 3);
    storage->UseVariableList(&kPlain, &list);
    storage->UseVariableList(&kNamed, &other);
    std::string messages;
    EXPECT_EQ(Save(folder.Wide(), messages), 0);
    EXPECT_EQ(messages, "Failed to open data file for \"" + kProgId + "\"\n" + "Failed to open data file for \"" +
                            kPlainName + "\"\n");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path(kPlainName)));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path(kProgId)));
    EXPECT_FALSE(folder.Exists("missing"));
    EXPECT_EQ(folder.Names().size(), 2u);
}

TEST_F(Persistence, NextSaveRemovesTheLeftoversOfKilledSavesOnly)
{
    folder.Write(kPlainName + ".tmpAb3dE9", std::vector<uint8_t>(100, 1));
    folder.Write(kPlainName + ".tmpZZZZZZ", {1});
    const std::vector<std::string> kept = {
        kProgId + ".tmpAb3dE9",      // another list's
        kPlainName + ".tmp-note",    // not the pattern: someone else's
        kPlainName + ".tmpAb3dE9x",  // nor this
        kPlainName + ".tmpBusy01",   // still being written
    };
    for (const auto& name : kept) folder.Write(name, {1});
    const int busy = open(folder.Path(kPlainName + ".tmpBusy01").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(busy, LOCK_EX), 0);
    list.AddInt("v", 0, false);
    storage->UseVariableList(&kPlain, &list);
    std::string messages;
    EXPECT_EQ(Save(folder.Wide(), messages), 1);
    close(busy);
    auto names = folder.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, kept);
}

TEST_F(Persistence, DamagedFilesKeepTheRecordsBeforeTheDamage)
{
    auto truncated = Record("first", {1});
    const auto second = Record("second", {2, 2, 2, 2});
    truncated.insert(truncated.end(), second.begin(), second.end() - 2);
    folder.Write(kProgId, truncated);
    auto absurd = Record("ok", {5});
    const std::vector<uint8_t> huge = {'h', 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2};
    absurd.insert(absurd.end(), huge.begin(), huge.end());
    folder.Write(kPlainName, absurd);
    std::filesystem::create_directory(folder.Path("{00000000-0000-0000-0000-000000000001}"));
    folder.Write("not-a-list", Record("x", {1}));

    EXPECT_EQ(storage->Load(folder.Wide().c_str()), 1);
    const auto& named = Impl().FindStore(kNamed)->GetValues();
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named.at("first"), std::vector<uint8_t>{1});
    const auto& plain = Impl().FindStore(kPlain)->GetValues();
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain.at("ok"), std::vector<uint8_t>{5});
    EXPECT_EQ(Impl().GetStores().size(), 2u);
}

TEST_F(Persistence, LoadOfAMissingFolderEmptiesEverything)
{
    storage->UseVariableList(&kPlain, &list);
    const uint8_t v = 1;
    storage->SetData(&kPlain, "x", &v, 1);
    const std::string missing = folder.Path("absent");
    EXPECT_EQ(storage->Load(std::wstring(missing.begin(), missing.end()).c_str()), 1);
    EXPECT_TRUE(Impl().FindStore(kPlain)->GetValues().empty());
    EXPECT_TRUE(Impl().GetListsInUse().empty());
}
