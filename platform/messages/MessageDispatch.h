// Synchronous delivery of a registered message to a widget: the widget's
// hooks are asked first (the latest installed first), then the widget itself
// if it is a MessageTarget.  A message nobody handles returns 0, as default
// processing does.
#pragma once

#include "platform/messages/RegisteredMessage.h"

class QWidget;

LRESULT SendMessage(QWidget* target, UINT id, WPARAM wParam = 0, LPARAM lParam = 0);
