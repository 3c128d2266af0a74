#include "app/GlobalVariable.h"

// Constant-initialised, so it is null before any dynamic initialiser runs.
GlobalVariable* globalVariableChain = nullptr;

GlobalVariable::GlobalVariable(const char* name, const char* description, GlobalVariableCallback callback,
                               GlobalVariableListener* listener, GlobalVariable** chain)
    : name(name ? name : ""), next(*chain), chain(chain), callback(callback), listener(listener),
      description(description ? description : "")
{
    *chain = this;
}

GlobalVariable::~GlobalVariable()
{
    // Static destruction is last-in first-out, so this is normally the head;
    // unlinking from the middle keeps the chain intact if it is not.
    for (GlobalVariable** link = chain; *link; link = &(*link)->next) {
        if (*link == this) {
            *link = next;
            break;
        }
    }
}

void GlobalVariable::Describe(GLOBAL_VARIABLE_INFO* info) const
{
    info->name = name.c_str();
    info->description = description.c_str();
}

int GlobalVariable::AssignValue(const void*, unsigned)
{
    if (callback)
        callback(name.c_str());
    if (listener)
        listener->OnGlobalVariableChanged(name.c_str());
    return 0;
}
