#include "app/ReportedMessages.h"

#include <algorithm>
#include <cstdio>

void PrintStatusLine(const std::string& text)
{
    std::string line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    std::fprintf(stderr, "Eddyra: %s\n", line.c_str());
}

ReportedMessages::ReportedMessages()
{
    previous = SetMessageSink([this](QWidget*, const std::string& caption, const std::string& text) {
        ++count;
        PrintStatusLine(caption + ": " + text);
    });
}

ReportedMessages::~ReportedMessages() { SetMessageSink(previous); }

std::string ReportedMessages::Failure(const std::string& what) const
{
    if (count == 0)
        return {};
    return what + ": the drawing layer reported " + (count == 1 ? "an error" : std::to_string(count) + " errors") +
           " (above)";
}
