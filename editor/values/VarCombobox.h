// The value-cell editor of enumerations: a drop-down list of the labels.
// Choosing an entry writes its index to the variable and ends the edit;
// Escape closes the open drop-down list first, then the edit.
#pragma once

#include <QComboBox>

#include "editor/CValueEditor.h"

class CVar;
class CVarListView;

class CVarCombobox : public QComboBox, public CValueEditor {
public:
    explicit CVarCombobox(CVarListView* list);

    QWidget* GetWindow() override { return this; }
    void Activate(CVar* variable, CVarListView* list) override;
    void Resize() override;

    CVar* GetVariable() const { return variable; }
    // The user chose the entry at index.
    void On_SelChange(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CVar* variable = nullptr;
    CVarListView* list = nullptr;
};
