// Orders client lists for the editor's tabs by their names, without regard
// to case: two lists whose names differ only in case count as one entry.
#pragma once

#include <strings.h>

#include "storage/api/VariableStorage.h"

struct CompareVlist {
    bool operator()(IVariableList* a, IVariableList* b) const
    {
        const char* left = a ? a->GetListName() : nullptr;
        const char* right = b ? b->GetListName() : nullptr;
        return strcasecmp(left ? left : "", right ? right : "") < 0;
    }
    bool operator()(const IVariableListPtr& a, const IVariableListPtr& b) const { return (*this)(a.Get(), b.Get()); }
};
