// The common body of the editors that edit in a dialog of their own: a
// framed cell with a "..." button in its right half.  The button sends
// command 777; Enter or Space on the cell does the same, Escape gives the
// focus back to the list.  The cell hides when the focus leaves it and its
// button.
#pragma once

#include <QFrame>

#include "editor/CValueEditor.h"

class CVarListView;
class QPushButton;

class CButtonCell : public QFrame, public CValueEditor {
public:
    enum { ID_EDIT = 777 };

    explicit CButtonCell(CVarListView* list);

    QWidget* GetWindow() override { return this; }
    void Resize() override;

    QPushButton* GetButton() const { return button; }
    CVar* GetVariable() const { return variable; }

    virtual void On_Command(int id) = 0;

protected:
    // Places the cell over the selected row, then shows and focuses it.
    void Open(CVarListView* list);
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    CVar* variable = nullptr;
    CVarListView* list = nullptr;

private:
    void On_KillFocus(QFocusEvent* event);

    QPushButton* button;
};
