// The value-cell editor of property sets: its "..." button runs the
// "Props Editor" dialog for the variable.
#pragma once

#include "editor/values/ButtonCell.h"

class CVarPropsView : public CButtonCell {
public:
    explicit CVarPropsView(CVarListView* list);

    void Activate(CVar* variable, CVarListView* list) override;
    void On_Command(int id) override;
};
