#include "app/StorageBinding.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <QWidget>

#include "app/GlobalVariableList.h"
#include "app/SetVariableFromStorage.h"
#include "platform/com/Com.h"

namespace {
std::string DescribeCreationFailure(HRESULT hr)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    std::string why;
    switch (hr) {
    case REGDB_E_CLASSNOTREG:
        why = "it is not registered";
        break;
    case CO_E_DLLNOTFOUND:
        why = "its registered module file does not exist";
        break;
    case CO_E_ERRORINDLL:
        why = "its registered module cannot be loaded";
        break;
    case E_NOINTERFACE:
        why = "it does not offer the storage interface";
        break;
    default:
        why = "creation failed";
        break;
    }
    return "The variable storage component " + GuidToString(CLSID_VariableStorage) + " (\"" +
           kVariableStorageProgId + "\") cannot be created: " + why + " (" + code + ").";
}

// Asks for IUnknown first, runs it, then queries: the way to create an object
// that might live in another server.
HRESULT CreateStorage(IVariableStoragePtr& storage)
{
    ComPtr<IUnknown> unknown;
    HRESULT hr = CoCreateInstance(CLSID_VariableStorage, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.AsOut());
    if (FAILED(hr))
        return hr;
    if (!unknown)
        return E_POINTER;
    hr = OleRun(unknown.Get());
    if (FAILED(hr))
        return hr;
    return unknown.As(storage);
}
}  // namespace

bool AttachParameters(const std::wstring& configFolder, StorageBinding& binding, std::string* failure)
{
    const HRESULT hr = CreateStorage(binding.storage);
    if (FAILED(hr) || !binding.storage) {
        binding.storage = nullptr;
        if (failure)
            *failure = DescribeCreationFailure(FAILED(hr) ? hr : E_POINTER);
        return false;
    }
    // A missing or unreadable folder leaves the defaults: nothing to report.
    binding.storage->Load(configFolder.c_str());

    binding.storage->UseVariableList(&LIST_ID, IVariableListPtr::Attach(new GlobalVariableList).Get());

    // The same live object.  Only an exact S_OK attaches: other success codes
    // of a creation make no promise that an interface came back.
    IVariableStorageAttachPtr attach;
    if (CoCreateInstance(CLSID_VariableStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IVariableStorageAttach,
                         attach.AsOut()) == S_OK &&
        attach)
        attach->AttachVariableList(&LIST_ID, SetVariableFromStorage, nullptr);
    attach = nullptr;
    return true;
}

bool BindParameters(HWND parent, const std::wstring& configFolder, StorageBinding& binding, std::string* failure)
{
    if (!AttachParameters(configFolder, binding, failure))
        return false;
    RECT client{0, 0, 0, 0};
    if (parent) {
        client.right = parent->width();
        client.bottom = parent->height();
    }
    binding.editorWindow = binding.storage->CreateControl(parent, &client, nullptr);
    return true;
}

void SetParameter(StorageBinding& binding, const char* name, const void* bytes, unsigned length)
{
    if (binding.storage)
        binding.storage->SetData(&LIST_ID, name, bytes, length);
    else
        SetVariableFromStorage(name, bytes, length, nullptr);
}

bool SaveParameters(const std::wstring& configFolder, StorageBinding& binding, std::string* failure)
{
    if (!binding.storage)
        return true;
    bool saved = true;
    // The component never creates the folder, and saving into a missing one
    // fails: the first run's changes would be lost.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(configFolder), ignored);
    // The second interface tells what failed; changes the user made must not
    // vanish without a word.
    IVariableStorage2Ptr storage2;
    if (SUCCEEDED(binding.storage.As(storage2)) && storage2) {
        BSTR errors = nullptr;
        saved = storage2->Save(configFolder.c_str(), &errors) != 0;
        if (!saved && failure)
            *failure = "The parameters could not be saved into \"" + WideToUtf8(configFolder) + "\".\n" +
                       (errors ? WideToUtf8(errors) : std::string());
        SysFreeString(errors);
    } else {
        binding.storage->Save(configFolder.c_str());
    }
    storage2 = nullptr;
    binding.storage = nullptr;
    return saved;
}
