#include "editor/EditHistory.h"

#include <algorithm>
#include <cstring>

namespace {

// Moves the last change of one side to the other; null when there is none.
size_t Bytes(const CEditHistory::Change& change)
{
    size_t n = 0;
    for (const CEditHistory::Entry& e : change) n += e.before.size() + e.after.size();
    return n;
}

template <class From, class To>
const CEditHistory::Change* MoveLast(From& from, To& to)
{
    if (from.empty()) return nullptr;
    to.push_back(std::move(from.back()));
    from.pop_back();
    return &to.back();
}

}  // namespace

CEditHistory::CEditHistory(size_t limit_, size_t byteBudget_)
    : limit(std::max<size_t>(limit_, 1)), byteBudget(byteBudget_)
{
}

void CEditHistory::BeginGesture()
{
    if (gestureDepth++ == 0) gestureHasChange = false;
}

void CEditHistory::EndGesture()
{
    if (gestureDepth == 0) return;
    if (--gestureDepth == 0) gestureHasChange = false;
}

void CEditHistory::Record(const GUID& listId, const std::string& name, const std::vector<uint8_t>& before,
                          const void* after, unsigned length)
{
    if (replaying > 0) return;
    const auto* first = static_cast<const uint8_t*>(after);
    std::vector<uint8_t> now(first, first + (first ? length : 0));

    if (gestureDepth > 0 && gestureHasChange && !undo.empty()) {
        // Within a gesture a variable keeps its first before; a drag that
        // comes back to where it started leaves nothing to take back.
        Change& change = undo.back();
        bytes -= Bytes(change);
        auto same = std::find_if(change.begin(), change.end(),
                                 [&](const Entry& e) { return e.name == name && e.listId == listId; });
        if (same == change.end()) {
            if (before != now) change.push_back({listId, name, before, std::move(now)});
        } else if (same->before == now) {
            change.erase(same);
        } else {
            same->after = std::move(now);
        }
        bytes += Bytes(change);
        if (change.empty()) {
            undo.pop_back();
            gestureHasChange = false;
        }
        Forget();
        return;
    }

    if (before == now) return;
    for (const Change& gone : redo) bytes -= Bytes(gone);
    redo.clear();
    undo.push_back(Change{{listId, name, before, std::move(now)}});
    bytes += Bytes(undo.back());
    if (gestureDepth > 0) gestureHasChange = true;
    Forget();
}

void CEditHistory::Forget()
{
    // The oldest undoable changes go first; what can be redone is newer.
    while (undo.size() > 1 && (undo.size() > limit || bytes > byteBudget)) {
        bytes -= Bytes(undo.front());
        undo.pop_front();
    }
}

const CEditHistory::Change* CEditHistory::Undo()
{
    // A gesture still open ends here: what follows is a change of its own.
    gestureHasChange = false;
    return MoveLast(undo, redo);
}

const CEditHistory::Change* CEditHistory::Redo()
{
    gestureHasChange = false;
    return MoveLast(redo, undo);
}
