// What an open editor window hears from the component: every value stored
// for a list, through SetData (from any editor or a client) or by loading
// the data folder, after the list's client has had it.  Editors of the same
// list use it to keep showing the values the client holds.
#pragma once

#include "platform/com/Guid.h"

class CValueWatcher {
public:
    // bytes and length are the value as stored; valid only during the call.
    virtual void OnValueStored(const GUID& listId, const char* name, const void* bytes, unsigned length) = 0;

protected:
    ~CValueWatcher() = default;
};
