#include "sim/FragmentProgramFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace {

bool IsFile(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::string FindFragmentProgramFile(const std::string& name)
{
    if (name.empty() || name.front() == '/' || IsFile(name))
        return name;
    char executable[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", executable, sizeof executable);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof executable)
        return name;
    std::string folder(executable, static_cast<size_t>(length));
    folder.erase(folder.rfind('/'));
    // EDDYRA_DATA_FROM_BIN: the data folder relative to the installed
    // program's folder, from the build's install layout.
    const std::string installed = folder + "/" EDDYRA_DATA_FROM_BIN "/" + name;
    return IsFile(installed) ? installed : name;
}
