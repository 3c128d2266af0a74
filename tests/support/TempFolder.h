// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes, read-only subfolders included.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class TempFolder {
public:
    // Throws std::system_error when no folder can be made.
    explicit TempFolder(const std::string& prefix = "eddyra-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path path;

    // The folder, or a name inside it.
    std::string Path(const std::string& name = {}) const;
    std::wstring Wide() const;

    void Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
    void WriteText(const std::string& name, const std::string& text) const;
    std::vector<uint8_t> Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    std::vector<std::string> Names() const;
};

// A fresh folder that stays until the process ends, for objects that outlive
// the test that made them.
std::string MakeTempFolder();
