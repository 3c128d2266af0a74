// An outside client of the variable storage component: creates it by class
// id, hands it a list of two variables, changes one through the component
// (which sends the change back) and saves into the existing folder named on
// the command line; a second object loads the folder and must send the
// saved value back.  Exit status 0 when it does.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/com/Bstr.h"
#include "platform/com/ComInterfaces.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/Utf8.h"
#include "storage/api/VariableStorage.h"

namespace {

constexpr GUID kListId = {0x0C3E29A4, 0x5D71, 0x4B0E, {0x9A, 0x63, 0x21, 0xF0, 0x84, 0x5B, 0xC7, 0x1D}};

class SolverList : public ComInterfaces<IVariableList> {
public:
    // Lives on the stack of main, which outlives every reference.
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD_(const char*, GetListName)() override { return "Solver"; }
    STDMETHOD_(int32_t, Reset)() override
    {
        next = 0;
        return 1;
    }
    STDMETHOD_(int32_t, Next)(GLOBAL_VARIABLE_INFO* info) override
    {
        if (next == 2) return 0;
        std::memset(info, 0, sizeof *info);
        if (next++ == 0) {
            info->name = "solver|steps";
            info->type = VARKIND_INT;
            info->description = "Steps per run";
            info->modified = steps != 10;
            info->i = {steps, 10, 1, 100000, 1, 0};
        } else {
            info->name = "solver|tolerance";
            info->type = VARKIND_DOUBLE;
            info->description = "Residual to stop at";
            info->d = {1e-3, 1e-3, 1e-9, 1.0, 1e-4, 0};
        }
        return 1;
    }

    int32_t steps = 10;
    int received = 0;

private:
    int next = 0;
};

int32_t STDMETHODCALLTYPE Receive(const char* name, const void* bytes, unsigned length, void* context)
{
    auto* list = static_cast<SolverList*>(context);
    if (std::strcmp(name, "solver|steps") == 0 && length == sizeof list->steps) {
        std::memcpy(&list->steps, bytes, length);
        ++list->received;
    }
    return 1;
}

int Fail(const char* what, HRESULT hr = S_OK)
{
    std::fprintf(stderr, "VariablesClient: %s (0x%08X)\n", what, static_cast<unsigned>(hr));
    return 1;
}

// The first run: the user changes the steps to 250, the client saves.
int Save(const std::wstring& folder)
{
    SolverList list;
    IVariableStoragePtr storage;
    IVariableStorageAttachPtr attach;
    IVariableStorage2Ptr storage2;
    HRESULT hr = CoCreateInstance(CLSID_VariableStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IVariableStorage,
                                  storage.AsOut());
    if (FAILED(hr) || FAILED(hr = storage.As(attach)) || FAILED(hr = storage.As(storage2)))
        return Fail("cannot create the component", hr);
    storage->UseVariableList(&kListId, &list);
    attach->AttachVariableList(&kListId, &Receive, &list);
    const int32_t steps = 250;
    if (!storage->SetData(&kListId, "solver|steps", &steps, sizeof steps) || list.steps != 250)
        return Fail("the change did not come back");
    BSTR errors = nullptr;
    const int32_t saved = storage2->Save(folder.c_str(), &errors);
    const std::string said = errors ? WideToUtf8(errors) : "";
    SysFreeString(errors);
    if (!saved) return Fail(("Save failed: " + said).c_str());
    return 0;
}

// The next run: the saved value comes back once, the default stays.
int Load(const std::wstring& folder)
{
    SolverList list;
    IVariableStoragePtr storage;
    IVariableStorageAttachPtr attach;
    HRESULT hr = CoCreateInstance(CLSID_VariableStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IVariableStorage,
                                  storage.AsOut());
    if (FAILED(hr) || FAILED(hr = storage.As(attach))) return Fail("cannot create the component again", hr);
    attach->AttachVariableList(&kListId, &Receive, &list);
    storage->UseVariableList(&kListId, &list);
    storage->Load(folder.c_str());
    if (list.received != 1 || list.steps != 250) {
        std::fprintf(stderr, "VariablesClient: loaded %d value(s), steps %d (saved 250)\n", list.received,
                     list.steps);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) return Fail("usage: VariablesClient <existing folder>");
    const std::wstring folder = Utf8ToWide(argv[1]);
    CoInitialize(nullptr);
    // The component's last reference goes between the runs, so the second
    // starts from the saved files alone.
    const int status = Save(folder) || Load(folder);
    CoUninitialize();
    if (status == 0) std::printf("VariablesClient: saved and loaded solver|steps = 250\n");
    return status;
}
