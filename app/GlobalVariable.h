// A process-wide tunable parameter.  Every one is created before main runs
// and pushed onto globalVariableChain, through which the storage binding
// enumerates them and writes new values into them by name.
#pragma once

#include <string>

#include "storage/api/GlobalVariableInfo.h"

class GlobalVariable;

// Head of the chain: the parameter registered last.  Null before the first.
extern GlobalVariable* globalVariableChain;

// Told after every new value; no parameter of the program uses one, but the
// hooks are part of the wrapper so that a client could poll less.
class GlobalVariableListener {
public:
    virtual void OnGlobalVariableChanged(const char* name) = 0;

protected:
    ~GlobalVariableListener() = default;
};
using GlobalVariableCallback = void (*)(const char* name);

class GlobalVariable {
public:
    GlobalVariable(const GlobalVariable&) = delete;
    GlobalVariable& operator=(const GlobalVariable&) = delete;

    virtual const char* GetVariableName() const { return name.c_str(); }
    virtual GlobalVariable* GetNext() const { return next; }
    // Fills the record afresh; texts and arrays stay owned by the wrapper.
    virtual void Describe(GLOBAL_VARIABLE_INFO* info) const;
    // The kinds store the value first, then call this to notify.
    virtual int AssignValue(const void* bytes, unsigned length);
    // Sets value and default at once, without notification.
    virtual void AssignValueAndDefault(const void* bytes, unsigned length) = 0;
    virtual ~GlobalVariable();

    const char* GetDescription() const { return description.c_str(); }

protected:
    GlobalVariable(const char* name, const char* description, GlobalVariableCallback callback,
                   GlobalVariableListener* listener, GlobalVariable** chain);

private:
    std::string name;
    GlobalVariable* next;
    GlobalVariable** chain;
    GlobalVariableCallback callback;
    GlobalVariableListener* listener;
    std::string description;
};
