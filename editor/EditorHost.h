// What an editor window asks of the component that opened it, beyond the
// storage interface: to be told of every value stored, and the undo history
// its windows share.  A window finds it by a cast of its storage pointer;
// any other storage has none, and the window keeps a history of its own.
#pragma once

#include <memory>

class CEditHistory;
class CValueWatcher;

class CEditorHost {
public:
    // Each window removes itself before it goes.
    virtual void AddWatcher(CValueWatcher* watcher) = 0;
    virtual void RemoveWatcher(CValueWatcher* watcher) = 0;
    // Made by the first window and kept as long as the host lives.
    virtual std::shared_ptr<CEditHistory>& EditHistory() = 0;

protected:
    ~CEditorHost() = default;
};
