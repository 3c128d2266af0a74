// The value-cell editor of 2-D splines: its "..." button runs the "Spline
// Editor" dialog over the bound variable.
#pragma once

#include "editor/values/ButtonCell.h"

class CVarSplineView : public CButtonCell {
public:
    explicit CVarSplineView(CVarListView* list);

    // Binds the variable when it is a 2-D spline (else none), then places,
    // shows and focuses the cell.
    void Activate(CVar* variable, CVarListView* list) override;
    void On_Command(int id) override;
};
