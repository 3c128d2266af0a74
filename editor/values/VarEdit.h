// The value-cell editor of strings: a one-line text field.  Enter writes the
// text (with its terminating zero) to the variable, Escape leaves it.  A
// text typed and then left (a click elsewhere, Tab) is written as well.
#pragma once

#include <QLineEdit>

#include "editor/CValueEditor.h"

class CVar;
class CVarListView;

class CVarEdit : public QLineEdit, public CValueEditor {
public:
    explicit CVarEdit(CVarListView* list);

    QWidget* GetWindow() override { return this; }
    void Activate(CVar* variable, CVarListView* list) override;
    void Resize() override;
    bool Commit() override;
    void Discard() override;

    CVar* GetVariable() const { return variable; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void On_Enter();
    void Write();
    void BackToList();

    CVar* variable = nullptr;
    CVarListView* list = nullptr;
};
