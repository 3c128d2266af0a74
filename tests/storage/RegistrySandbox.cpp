// Every storage test process works on a registry of its own, never the user's.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {
struct RegistrySandbox {
    std::string path;
    RegistrySandbox()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillet-registry-XXXXXX").string();
        path = mkdtemp(pattern.data());
        setenv("COMREGISTRY_DIR", path.c_str(), 1);
    }
    ~RegistrySandbox()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};
const RegistrySandbox sandbox;
}  // namespace
