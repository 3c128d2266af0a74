// The value-cell editor of colour splines: its "..." button runs the
// "Color RGB Spline Editor" dialog over the bound variable.
#pragma once

#include "editor/values/ButtonCell.h"

class CVarColorRGBSplineView : public CButtonCell {
public:
    explicit CVarColorRGBSplineView(CVarListView* list);

    // Binds the variable when it is a colour spline (else none), then
    // places, shows and focuses the cell.
    void Activate(CVar* variable, CVarListView* list) override;
    void On_Command(int id) override;
};
