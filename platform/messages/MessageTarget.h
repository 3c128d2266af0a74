// A widget class that answers registered messages derives from this as well
// as from its Qt base.  A derived widget overrides the handler, answers what
// it knows and hands the rest to its base class's handler, so that it can
// change how its base answers a message.
#pragma once

#include "platform/messages/RegisteredMessage.h"

class MessageTarget {
public:
    virtual ~MessageTarget() = default;

    // True when the message was handled; result is then its return value.
    virtual bool OnRegisteredMessage(UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
};
