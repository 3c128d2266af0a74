// Fixture for tests that draw: a headless EGL context on this thread, the
// working folder set to where "cg/" lies, and every message collected
// instead of shown.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/gl/HeadlessRenderContext.h"
#include "platform/gl/RenderContext.h"

struct Report {
    std::string caption;
    std::string text;
};

class MessageCollector {
public:
    MessageCollector()
    {
        previous = SetMessageSink([this](QWidget*, const std::string& c, const std::string& t) { reports.push_back({c, t}); });
    }
    ~MessageCollector() { SetMessageSink(previous); }
    std::vector<Report> reports;

private:
    MessageSink previous;
};

class HeadlessGl : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousFolder = std::filesystem::current_path();
        std::filesystem::current_path(EDDYRA_SOURCE_DIR);
        ASSERT_TRUE(CreateHeadlessRenderContext()) << (messages.reports.empty() ? "" : messages.reports[0].text);
        ASSERT_TRUE(messages.reports.empty());
    }
    void TearDown() override
    {
        DestroyRenderContext();
        std::filesystem::current_path(previousFolder);
    }

    MessageCollector messages;
    std::filesystem::path previousFolder;
};
