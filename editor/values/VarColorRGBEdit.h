// The value-cell editor of colours: its "..." button opens the colour
// dialog at the variable's colour; a confirmed colour is written as the
// three bytes red, green, blue and shows in the row at once.
#pragma once

#include "editor/values/ButtonCell.h"

class CVarColorRGBEdit : public CButtonCell {
public:
    explicit CVarColorRGBEdit(CVarListView* list);

    void Activate(CVar* variable, CVarListView* list) override;
    void On_Command(int id) override;
};
