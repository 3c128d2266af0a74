// The value-cell editor of integers, doubles and floats.  Integers use the
// spin control's positions as they are; doubles and floats map position p
// onto minimum + step * p, so the arrows and the popup slider move in steps
// while the text takes any value within the limits.  Every change of the
// position is written to the variable at once; a text typed (or stepped
// with the arrow keys) is written on Enter, or when the editor is left.
#pragma once

#include "editor/CValueEditor.h"
#include "editor/spin/SpinEdit.h"
#include "platform/messages/MessageHook.h"
#include "storage/NumberVar.h"

class CEditGestures;
class CVarListView;

class CVarSpinEdit : public CSpinEdit, public CValueEditor {
public:
    // A hidden child of the list's editor parent.
    explicit CVarSpinEdit(CVarListView* list);
    ~CVarSpinEdit() override;

    QWidget* GetWindow() override { return this; }
    void Activate(CVar* variable, CVarListView* list) override;
    void Resize() override;
    bool Commit() override;
    void Discard() override;

    bool OnRegisteredMessage(UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void On_KeyDown(int key) override;
    void On_KillFocus(QWidget* newFocus) override;
    // Doubles and floats: a tenth of the variable's step, written at once;
    // an integer has no finer step than one.
    void On_FineStep(int direction) override;

    CVar* GetVariable() const { return variable; }

private:
    // SEN_CHANGED, heard where it goes: at the list's editor parent.
    void On_Changed(int position);
    void On_Enter();
    // The checks and the write of Enter for text; false when refused.
    bool Write(const QString& text);
    // Writes a double or float variable's value in its own width.
    void StoreReal(double value);
    void BackToList();
    // Doubles and floats: the value of a position, and the step used (a
    // step that is not positive is replaced so that positions stay finite).
    bool IsReal() const;
    double Minimum() const;
    double Maximum() const;
    double Step() const;

    CNumberVar* variable = nullptr;
    CVarListView* list = nullptr;
    // What the user typed or stepped and has not written yet.  Kept apart
    // from the text field, which shows its position's form once it loses
    // the focus.
    bool pending = false;
    QString pendingText;
    MessageHook parentHook;
    // The gesture a popup slider drag holds open, from opening to closing.
    CEditGestures* dragGesture = nullptr;
};
