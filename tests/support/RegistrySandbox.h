// Points this process's registry (COMREGISTRY_DIR) at a fresh, empty folder
// for the life of the object, so that a test never reads or writes the
// user's registry or another test's.  The previous setting comes back after.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/TempFolder.h"

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    const std::filesystem::path& Folder() const { return folder.path; }

private:
    TempFolder folder;
    std::optional<std::string> previous;
};

// A fresh registry for the rest of the process; each call starts another.
void UseSandboxRegistry();
