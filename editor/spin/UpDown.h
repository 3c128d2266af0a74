// The up-down arrows of CSpinEdit.  Each press (and each repeat while held)
// reports a step up or down to the control, with the keys held, which
// applies it.
#pragma once

#include <QWidget>

class CSpinEdit;
class QToolButton;

class CUpDown : public QWidget {
public:
    explicit CUpDown(CSpinEdit* owner);

    QToolButton* GetUpArrow() const { return up; }
    QToolButton* GetDownArrow() const { return down; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CSpinEdit* owner;
    QToolButton* up;
    QToolButton* down;
};
