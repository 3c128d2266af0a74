// Lets an object hear the registered messages sent to a widget it does not
// own (a child editor listening for notifications that reach its parent)
// without the widget's class knowing of it.  The hook is removed when this
// object dies; a hook on a widget that has died is never called.
#pragma once

#include <functional>
#include <memory>

#include "platform/messages/RegisteredMessage.h"

class QWidget;

class MessageHook {
public:
    // True when handled; result is then the message's return value.
    using Handler = std::function<bool(UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    MessageHook() = default;
    MessageHook(QWidget* target, Handler handler);
    MessageHook(const MessageHook&) = delete;
    MessageHook& operator=(const MessageHook&) = delete;
    ~MessageHook();

    void Install(QWidget* target, Handler handler);
    void Remove();
    bool IsInstalled() const { return entry != nullptr; }

    struct Entry;

private:
    std::shared_ptr<Entry> entry;
};

// Used by SendMessage: offers the message to the target's hooks, latest
// first; true when one of them handled it.
bool DispatchToHooks(QWidget* target, UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result);
