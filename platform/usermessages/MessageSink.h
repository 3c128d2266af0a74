// Messages the user must see, from the windows and from the layers below
// them that have none (drawing context, shaders, solvers).  All go through
// one sink: by default a modal box with one OK button when the process has
// a QApplication, standard error otherwise.  Tests install a sink of their
// own to read the messages, a run without a window one that prints them.
#pragma once

#include <functional>
#include <string>

class QWidget;

// owner is null for a message from a layer without a window.
using MessageSink = std::function<void(QWidget* owner, const std::string& caption, const std::string& text)>;

// Returns the previous sink; an empty sink restores the default.
MessageSink SetMessageSink(MessageSink sink);

// A message owned by a window.  A box captioned "Error" reports a failure and
// carries the error icon, so that it is not mistaken for a notice such as
// "Ready!".
void ShowMessage(QWidget* owner, const std::string& caption, const std::string& text);

// A failure reported by a layer without a window: a box with the error
// icon, owned by no window.
void ReportMessage(const std::string& caption, const std::string& text);
