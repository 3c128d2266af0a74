// Loading in-process servers and creating objects through them.
#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "platform/com/ComRuntime.h"
#include "platform/registry/Registry.h"

namespace {

struct LoadedModule {
    std::string path;
    void* handle = nullptr;
    DllGetClassObjectFunction getClassObject = nullptr;
    DllCanUnloadNowFunction canUnloadNow = nullptr;
};

// Held while a module's entry points run, so that another thread cannot
// unload it meanwhile; recursive because an entry point may create objects
// of its own.
std::recursive_mutex modulesLock;
std::vector<LoadedModule> modules;

HRESULT RegisteredServerPath(REFCLSID clsid, std::string& path)
{
    RegKey key;
    if (key.Open(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(clsid) + "\\InProcServer32", KEY_READ) != ERROR_SUCCESS)
        return REGDB_E_CLASSNOTREG;
    if (key.QueryString("", path) != ERROR_SUCCESS || path.empty()) return REGDB_E_CLASSNOTREG;
    return S_OK;
}

// The cached module of that path, loading it on first use.
HRESULT FindOrLoad(const std::string& registeredPath, LoadedModule*& module)
{
    std::string path = registeredPath;
    if (path.find('/') != std::string::npos) {
        struct stat info;
        if (::stat(path.c_str(), &info) != 0) return CO_E_DLLNOTFOUND;
        // One entry per file, however the registry spells its path.
        if (char resolved[PATH_MAX]; ::realpath(path.c_str(), resolved)) path = resolved;
    }
    for (LoadedModule& loaded : modules) {
        if (loaded.path == path) {
            module = &loaded;
            return S_OK;
        }
    }
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return path.find('/') != std::string::npos ? CO_E_ERRORINDLL : CO_E_DLLNOTFOUND;
    auto getClassObject = reinterpret_cast<DllGetClassObjectFunction>(::dlsym(handle, "DllGetClassObject"));
    if (!getClassObject) {
        ::dlclose(handle);
        return CO_E_ERRORINDLL;
    }
    auto canUnloadNow = reinterpret_cast<DllCanUnloadNowFunction>(::dlsym(handle, "DllCanUnloadNow"));
    modules.push_back(LoadedModule{path, handle, getClassObject, canUnloadNow});
    module = &modules.back();
    return S_OK;
}

}  // namespace

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void*, REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!(context & CLSCTX_ALL)) return E_INVALIDARG;
    std::string path;
    if (HRESULT hr = RegisteredServerPath(clsid, path); FAILED(hr)) return hr;

    std::lock_guard lock(modulesLock);
    LoadedModule* module = nullptr;
    if (HRESULT hr = FindOrLoad(path, module); FAILED(hr)) return hr;
    return module->getClassObject(clsid, riid, object);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    IClassFactory* factory = nullptr;
    if (HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
        FAILED(hr))
        return hr;
    if (!factory) return E_UNEXPECTED;
    // The factory's reference keeps its module loaded during the call.
    const HRESULT hr = factory->CreateInstance(outer, riid, object);
    factory->Release();
    if (FAILED(hr)) *object = nullptr;
    return hr;
}

HRESULT OleRun(IUnknown* object) { return object ? S_OK : E_INVALIDARG; }

void CoFreeUnusedLibraries()
{
    std::lock_guard lock(modulesLock);
    for (std::size_t i = 0; i < modules.size();) {
        LoadedModule& module = modules[i];
        if (module.canUnloadNow && module.canUnloadNow() == S_OK) {
            void* handle = module.handle;
            modules.erase(modules.begin() + static_cast<std::ptrdiff_t>(i));
            ::dlclose(handle);
        } else {
            ++i;
        }
    }
}

std::size_t CoLoadedModuleCount()
{
    std::lock_guard lock(modulesLock);
    return modules.size();
}
