// A private, empty registry for each test, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "tests/support/RegistrySandbox.h"

class RegistryFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        sandbox.emplace();
        folder = sandbox->Folder();
    }
    void TearDown() override { sandbox.reset(); }

    std::optional<RegistrySandbox> sandbox;
    std::filesystem::path folder;
};
