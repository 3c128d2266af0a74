#include "app/FindGlobalVariable.h"

namespace {
// ASCII folding only: the names are plain ASCII paths, and the locale of the
// process must not change which parameter a stored name reaches.
char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (Fold(*a) != Fold(*b))
            return false;
    return *a == *b;
}
}  // namespace

GlobalVariable* FindGlobalVariable(const char* name)
{
    if (!name)
        return nullptr;
    for (GlobalVariable* v = globalVariableChain; v; v = v->GetNext())
        if (EqualIgnoringCase(v->GetVariableName(), name))
            return v;
    return nullptr;
}
