// One editor window's side of the component's undo history.  A variable
// notifies its listeners only after it stored the new value, so the window
// keeps the last value it knows of each of its variables: that is the
// "before" of the next edit.  Values from outside update what is known
// without being recorded.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "editor/EditHistory.h"

class CVar;

class CEditRecorder {
public:
    explicit CEditRecorder(std::shared_ptr<CEditHistory> history);

    CEditHistory& History() const { return *history; }

    // The variables of a tab as it loaded them.
    void Know(const std::vector<std::unique_ptr<CVar>>& vars);
    // An edit made in this window: recorded against the value known before.
    void Edited(const GUID& listId, const char* name, const void* bytes, unsigned length);
    // A value that came from outside, or a change being replayed.
    void Stored(const GUID& listId, const char* name, const void* bytes, unsigned length);

private:
    std::vector<uint8_t>* Known(const GUID& listId, const char* name);

    std::shared_ptr<CEditHistory> history;
    std::map<GUID, std::unordered_map<std::string, std::vector<uint8_t>>, CompareGUID> known;
};
