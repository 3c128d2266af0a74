// Messages the user must see: a modal box with one OK button, owned by the
// main window.  Tests replace the sink to read the messages instead.
#pragma once

#include <functional>
#include <string>

class QWidget;

using MessageSink = std::function<void(QWidget* owner, const std::string& caption, const std::string& text)>;

// Returns the previous sink; an empty sink restores the message box.
MessageSink SetMessageSink(MessageSink sink);
void ShowMessage(QWidget* owner, const std::string& caption, const std::string& text);
