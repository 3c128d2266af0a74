#include "platform/com/ModulePath.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>

std::string ModulePathOf(const void* addressInModule)
{
    Dl_info info{};
    if (!addressInModule || !::dladdr(addressInModule, &info) || !info.dli_fname || !*info.dli_fname) return {};
    // The module may have been loaded by a relative path or through a link.
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved)) return resolved;
    return {};
}
