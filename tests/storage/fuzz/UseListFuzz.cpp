// "uselist.txt" bytes into a data folder's load.  Every line is looked up as
// a ProgID in a registry that knows two lists and one ProgID whose class id
// text is damaged; whatever the file says, only the two lists may come into
// use, and without a list object (the client hands those over later).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/com/Guid.h"
#include "platform/registry/Registry.h"
#include "storage/DataFolder.h"
#include "tests/fuzz/FuzzSandbox.h"

namespace {

const GUID kListA = {0x6d1c0a51, 0x3f2e, 0x4b7a, {0x9c, 0x11, 0x20, 0x3a, 0x55, 0x6e, 0x71, 0x01}};
const GUID kListB = {0x6d1c0a51, 0x3f2e, 0x4b7a, {0x9c, 0x11, 0x20, 0x3a, 0x55, 0x6e, 0x71, 0x02}};
const GUID kHandedOver = {0x6d1c0a51, 0x3f2e, 0x4b7a, {0x9c, 0x11, 0x20, 0x3a, 0x55, 0x6e, 0x71, 0x03}};

void RegisterProgId(const std::string& progId, const std::string& classIdText)
{
    RegKey key;
    if (key.Create(HKEY_CLASSES_ROOT, progId + "\\CLSID") != ERROR_SUCCESS ||
        key.SetString("", classIdText) != ERROR_SUCCESS)
        std::abort();
}

// The data folder, holding nothing but "uselist.txt".
const std::string& DataFolder()
{
    static const std::string folder = [] {
        const std::string path = FuzzSandbox::Get().Path("data");
        std::filesystem::create_directory(path);
        RegisterProgId("Fuzz.ListA", GuidToString(kListA));
        RegisterProgId("Fuzz.ListB", GuidToString(kListB));
        RegisterProgId("Fuzz.Damaged", GuidToString(kListA).substr(0, 30));
        return path;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& folder = DataFolder();
    FuzzSandbox::Write(folder + "/uselist.txt", data, size);

    CDataFolder::Stores stores;
    CDataFolder::ListsInUse lists;
    lists.emplace(kHandedOver, nullptr);  // the load replaces what was in use
    CDataFolder::Load(folder, stores, lists);
    for (const auto& [id, list] : lists)
        if ((id != kListA && id != kListB) || list) std::abort();
    return 0;
}
