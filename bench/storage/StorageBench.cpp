// Save and Load of one list of 100 000 variables of mixed kinds through the
// component created by class id from a registry of the benchmark's own.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/com/Com.h"
#include "storage/api/VariableStorage.h"
#include "tests/storage/TestList.h"

namespace {

constexpr GUID kListId = {0x6A1E55B0, 0x0D1C, 0x4E2B, {0x9A, 0x31, 0x55, 0x10, 0x7C, 0x2E, 0x44, 0x01}};
constexpr int kVariables = 100000;

struct Fixture {
    std::string registry;
    std::string folder;
    TestList list{"bench"};
    IVariableStoragePtr storage;
    IVariableStorageAttachPtr attach;

    Fixture()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
        const std::string root = mkdtemp(pattern.data());
        registry = root + "/registry";
        folder = root + "/data";
        std::filesystem::create_directories(folder);
        setenv("COMREGISTRY_DIR", registry.c_str(), 1);
        const std::string command = std::string("\"") + COMREG_PATH + "\" \"" + QUILLET_PATH + "\" >/dev/null";
        if (std::system(command.c_str()) != 0) std::abort();
        CoInitialize(nullptr);
        if (FAILED(CoCreateInstance(CLSID_VariableStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IVariableStorage,
                                    storage.AsOut())) ||
            FAILED(storage.As(attach)))
            std::abort();

        std::vector<uint8_t> spline(4 * 32, 0x3F);
        for (int i = 0; i < kVariables; ++i) {
            const std::string name = "group" + std::to_string(i % 100) + "|var" + std::to_string(i);
            switch (i % 6) {
            case 0: list.AddInt(name, i); break;
            case 1: list.AddDouble(name, i * 0.5); break;
            case 2: list.AddString(name, "value number " + std::to_string(i)); break;
            case 3: list.AddRaw(name, VARKIND_FLOAT, {0, 0, 0x80, 0x3F}); break;
            case 4: list.AddRaw(name, VARKIND_COLORRGB, {1, 2, 3}); break;
            default: list.AddRaw(name, VARKIND_SPLINE2D, spline); break;
            }
        }
        storage->UseVariableList(&kListId, &list);
    }
    ~Fixture()
    {
        attach = nullptr;
        storage = nullptr;
        CoUninitialize();
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(folder).parent_path(), ignored);
    }
    std::wstring Folder() const { return std::wstring(folder.begin(), folder.end()); }
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

int32_t Count(const char*, const void*, unsigned length, void* context)
{
    *static_cast<size_t*>(context) += length;
    return 0;
}

void BM_Save(benchmark::State& state)
{
    Fixture& f = Shared();
    const std::wstring folder = f.Folder();
    for (auto _ : state) {
        if (f.storage->Save(folder.c_str()) != 1) state.SkipWithError("save failed");
    }
    state.counters["variables"] = kVariables;
    state.counters["bytes"] = static_cast<double>(
        std::filesystem::file_size(f.folder + "/{6A1E55B0-0D1C-4E2B-9A31-55107C2E4401}"));
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state)
{
    Fixture& f = Shared();
    const std::wstring folder = f.Folder();
    f.storage->Save(folder.c_str());
    size_t received = 0;
    f.attach->AttachVariableList(&kListId, &Count, &received);
    for (auto _ : state) {
        received = 0;
        f.storage->Load(folder.c_str());
        benchmark::DoNotOptimize(received);
    }
    f.attach->DetachVariableList(&kListId);
    // Load empties the lists in use (no "uselist.txt"): hand the list over again.
    f.storage->UseVariableList(&kListId, &f.list);
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
