// comreg: registers an in-process server by calling its DllRegisterServer,
// or unregisters it with -u (DllUnregisterServer).
//
//   comreg [--system] <module.so>       register
//   comreg [--system] -u <module.so>    unregister
//
// Exit status 0 on success, 1 when the module cannot be loaded, lacks the
// entry point or reports a failure, 2 for a wrong command line.  The
// registry written is the one named by COMREGISTRY_DIR, or the user's;
// --system writes the machine-wide one instead, which every user's
// programs read (a package's installation step uses it).
#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/com/ClassFactory.h"
#include "platform/registry/Registry.h"

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: comreg [--system] [-u] <module.so>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    bool unregister = false;
    bool system = false;
    const char* module = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-u") == 0 && !unregister && !module) unregister = true;
        else if (std::strcmp(argv[i], "--system") == 0 && !system && !module) system = true;
        else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: comreg [--system] [-u] <module.so>\n"
                        "Registers an in-process server (calls its DllRegisterServer);\n"
                        "-u unregisters it (calls its DllUnregisterServer).\n"
                        "Registry folder: %s (set COMREGISTRY_DIR to use another)\n"
                        "--system: the machine-wide registry for every user, %s\n",
                        RegistryRootPath().c_str(), MachineRegistryRootPath().c_str());
            return 0;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0' && !module) return Usage();
        else if (!module) module = argv[i];
        else return Usage();
    }
    if (!module) return Usage();
    // The module writes through its own copy of the registry layer, which
    // takes its location from the environment.
    if (system) ::setenv("COMREGISTRY_DIR", MachineRegistryRootPath().c_str(), 1);

    // A name without a slash would be searched for in the library path,
    // not taken from the current folder as the user meant.
    std::string path = module;
    if (path.find('/') == std::string::npos) path = "./" + path;
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        std::fprintf(stderr, "comreg: module not found: %s\n", module);
        return 1;
    }
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "comreg: cannot load %s: %s\n", module, ::dlerror());
        return 1;
    }
    const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto entry = reinterpret_cast<DllRegisterServerFunction>(::dlsym(handle, entryName));
    if (!entry) {
        std::fprintf(stderr, "comreg: %s does not export %s\n", module, entryName);
        ::dlclose(handle);
        return 1;
    }
    const HRESULT hr = entry();
    ::dlclose(handle);
    if (FAILED(hr)) {
        std::fprintf(stderr, "comreg: %s in %s failed with HRESULT 0x%08X\n", entryName, module,
                     static_cast<unsigned>(hr));
        return 1;
    }
    std::printf("comreg: %s %s in %s\n", unregister ? "unregistered" : "registered", module,
                RegistryRootPath().c_str());
    return 0;
}
