// The "..." button of CSpinEdit: a press of the left button opens the popup
// slider, which then holds the mouse until the button is released.
#pragma once

#include <QPushButton>

class CSpinEdit;

class CCustomButton : public QPushButton {
public:
    explicit CCustomButton(CSpinEdit* owner);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CSpinEdit* owner;
};
