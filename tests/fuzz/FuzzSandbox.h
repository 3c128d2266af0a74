// A scratch folder for fuzz targets that read files: made on first use,
// removed when the process ends.  It holds the process's registry, so that
// a fuzzer never reads or writes the user's.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

class FuzzSandbox {
public:
    static const FuzzSandbox& Get()
    {
        static const FuzzSandbox sandbox;
        return sandbox;
    }

    std::string Path(const std::string& name) const { return root + "/" + name; }

    // Replaces the file at path with exactly these bytes; a fault of the
    // harness, not of the code under test, when that fails.
    static void Write(const std::string& path, const uint8_t* data, size_t size)
    {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || (size && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) std::abort();
    }

private:
    FuzzSandbox()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root = pattern;
        std::filesystem::create_directory(Path("registry"));
        ::setenv("COMREGISTRY_DIR", Path("registry").c_str(), 1);
    }
    ~FuzzSandbox()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    std::string root;
};
