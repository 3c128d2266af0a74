#include "platform/messages/MessageHook.h"

#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <vector>

struct MessageHook::Entry {
    QPointer<QWidget> target;
    Handler handler;
};

namespace {

// Editor thread only, like the widgets themselves.
std::vector<std::shared_ptr<MessageHook::Entry>>& Hooks()
{
    static std::vector<std::shared_ptr<MessageHook::Entry>> hooks;
    return hooks;
}

}  // namespace

MessageHook::MessageHook(QWidget* target, Handler handler) { Install(target, std::move(handler)); }

MessageHook::~MessageHook() { Remove(); }

void MessageHook::Install(QWidget* target, Handler handler)
{
    Remove();
    if (!target || !handler)
        return;
    entry = std::make_shared<Entry>(Entry{target, std::move(handler)});
    Hooks().push_back(entry);
}

void MessageHook::Remove()
{
    if (!entry)
        return;
    auto& hooks = Hooks();
    hooks.erase(std::remove(hooks.begin(), hooks.end(), entry), hooks.end());
    entry.reset();
}

bool DispatchToHooks(QWidget* target, UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    auto& hooks = Hooks();
    // A handler may install or remove hooks: work on a snapshot, and skip
    // those removed meanwhile.
    std::vector<std::weak_ptr<MessageHook::Entry>> matching;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
        if ((*it)->target == target)
            matching.push_back(*it);
    for (auto& weak : matching) {
        std::shared_ptr<MessageHook::Entry> hook = weak.lock();
        if (!hook || hook->target != target)
            continue;
        if (std::find(hooks.begin(), hooks.end(), hook) == hooks.end())
            continue;
        if (hook->handler(id, wParam, lParam, result))
            return true;
    }
    return false;
}
