// Lines on standard error for a run without a window, and the messages of
// the drawing layer (shader errors, a missing context) among them: a run
// that received one is not to be trusted, and its reason points at them.
#pragma once

#include <string>

#include "platform/usermessages/MessageSink.h"

// "Eddyra: text" on standard error, folded into one line: the reasons of
// the layers below may hold a compiler listing.
void PrintStatusLine(const std::string& text);

// Prints every message reported while it lives, instead of showing it.
class ReportedMessages {
public:
    ReportedMessages();
    ~ReportedMessages();
    ReportedMessages(const ReportedMessages&) = delete;
    ReportedMessages& operator=(const ReportedMessages&) = delete;

    // "what: the drawing layer reported ... (above)", or an empty string
    // while nothing was reported.
    std::string Failure(const std::string& what) const;

private:
    MessageSink previous;
    int count = 0;
};
