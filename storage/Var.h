// The component's variable object: the base of every kind.  It keeps the
// path name, the description and the kind number of a client's variable and
// tells its listeners, in subscription order, every time a value is stored.
#pragma once

#include <string>
#include <vector>

#include "storage/api/GlobalVariableInfo.h"

class CVar {
public:
    // Told of every stored value; implemented by the editor window and the tree view.
    class Event {
    public:
        virtual void OnVarChanged(const GUID& listId, const char* name, const void* bytes, unsigned length) = 0;

    protected:
        ~Event() = default;
    };

    explicit CVar(const GLOBAL_VARIABLE_INFO& info);
    CVar(const CVar&) = delete;
    CVar& operator=(const CVar&) = delete;
    virtual ~CVar();

    virtual bool IsDefault() const = 0;
    // Display text; belongs to the object and stays valid until the next call.
    virtual const char* AsString() const = 0;
    // Kinds store the value first, then call this to notify the listeners
    // with the caller's bytes and length unchanged.
    virtual void SetValue(const void* bytes, unsigned length);
    // Fresh malloc copies; the caller frees them.  An empty value gives a
    // null pointer and length 0.
    virtual void GetValue(void** bytes, unsigned* length) const = 0;
    virtual void GetDefaultValue(void** bytes, unsigned* length) const = 0;
    virtual void SetDefault() = 0;

    void Init(const GUID& listId, Event* listener);
    void Subscribe(Event* listener);

    const char* GetName() const { return name.c_str(); }
    const char* GetDescription() const { return description.c_str(); }
    int GetType() const { return type; }
    // The client's modified flag as it was when the object was built.
    int GetModified() const { return modified; }
    const GUID& GetListId() const { return listId; }

protected:
    // Hands out a malloc copy of length bytes (null for none).
    static void CopyOut(const void* source, unsigned length, void** bytes, unsigned* length_out);
    // The text the object returns from AsString.
    mutable std::string text;

private:
    std::string name;
    std::string description;
    int type;
    int modified;
    std::vector<Event*> listeners;
    GUID listId = GUID_NULL;
};
