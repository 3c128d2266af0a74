// The undo history of the value changes made in a component's editor
// windows.  One change is one user gesture (a typed value, a spin step, a
// slider drag, a group reset, an import) and holds, for each variable it
// touched, the value before and after.  Variables are named by list id and
// full path, not by object: every editor window of the component builds
// objects of its own, and any of them can take a change back.  Values that
// reach an editor from outside (a load, a client, another editor's edit as
// its watcher hears of it) are never recorded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/com/Guid.h"

class CEditHistory {
public:
    struct Entry {
        GUID listId;
        std::string name;
        std::vector<uint8_t> before;
        std::vector<uint8_t> after;
    };
    using Change = std::vector<Entry>;

    // Changes kept before the oldest is forgotten.
    static constexpr size_t kDefaultLimit = 256;
    // Value bytes kept at most, before and after counted: a client with
    // huge values (property sets, long curves) gets fewer changes, never
    // an unbounded history.  The newest change is always kept.
    static constexpr size_t kByteBudget = size_t(64) << 20;

    explicit CEditHistory(size_t limit = kDefaultLimit, size_t byteBudget = kByteBudget);

    // Everything recorded between the outermost Begin and its End is one
    // change.  Gestures nest; an End without a Begin is ignored.
    void BeginGesture();
    void EndGesture();

    // A variable went from before to after through an edit.  Nothing is
    // recorded while a change is being replayed or when the value did not
    // change.  A new change forgets what could be redone.
    void Record(const GUID& listId, const std::string& name, const std::vector<uint8_t>& before,
                const void* after, unsigned length);

    // The change to take back (apply each entry's before, last entry
    // first), now redoable; null when there is none.
    const Change* Undo();
    // The change to make again (each entry's after, in order), now
    // undoable; null when there is none.
    const Change* Redo();

    size_t UndoCount() const { return undo.size(); }
    size_t RedoCount() const { return redo.size(); }

    // Held while a change is applied, so that applying it records nothing.
    class Replay {
    public:
        explicit Replay(CEditHistory& history) : history(history) { ++history.replaying; }
        ~Replay() { --history.replaying; }
        Replay(const Replay&) = delete;
        Replay& operator=(const Replay&) = delete;

    private:
        CEditHistory& history;
    };

private:
    void Forget();

    size_t limit;
    size_t byteBudget;
    size_t bytes = 0;  // value bytes held on both sides
    std::deque<Change> undo;
    std::vector<Change> redo;
    int gestureDepth = 0;
    bool gestureHasChange = false;  // undo.back() belongs to the open gesture
    int replaying = 0;
};
