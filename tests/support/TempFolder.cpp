#include "tests/support/TempFolder.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path MakeFolder(const std::string& prefix)
{
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    return pattern;
}

// Tests make folders read-only to provoke failures; removal needs them
// writable again.
void MakeRemovable(const fs::path& folder)
{
    std::error_code ignored;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (fs::recursive_directory_iterator it(folder, ignored), end; it != end; it.increment(ignored))
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
}

}  // namespace

TempFolder::TempFolder(const std::string& prefix) : path(MakeFolder(prefix)) {}

TempFolder::~TempFolder()
{
    MakeRemovable(path);
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

std::string TempFolder::Path(const std::string& name) const
{
    return name.empty() ? path.string() : (path / name).string();
}

std::wstring TempFolder::Wide() const
{
    const std::string narrow = path.string();
    return std::wstring(narrow.begin(), narrow.end());
}

void TempFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const
{
    std::ofstream out(Path(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void TempFolder::WriteText(const std::string& name, const std::string& text) const
{
    std::ofstream out(Path(name), std::ios::binary);
    out << text;
}

std::vector<uint8_t> TempFolder::Read(const std::string& name) const
{
    std::ifstream in(Path(name), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool TempFolder::Exists(const std::string& name) const { return fs::exists(Path(name)); }

std::vector<std::string> TempFolder::Names() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    return names;
}

std::string MakeTempFolder()
{
    // Removed in reverse order at exit, after every test of the process.
    static std::vector<std::unique_ptr<TempFolder>> folders;
    folders.push_back(std::make_unique<TempFolder>());
    return folders.back()->Path();
}
