// The text field of CSpinEdit.  It takes digits, "-", "." and backspace as
// typed characters and refuses other characters with a beep; Enter, Escape,
// Up and Down go on to the control.  Every edit of the text is read back as
// a position through the control's messages.
#pragma once

#include <QLineEdit>

class CSpinEdit;

class CCustomEdit : public QLineEdit {
public:
    explicit CCustomEdit(CSpinEdit* owner);

    // Edit-change: the typed text moves the position, the text stays.
    void On_Change();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CSpinEdit* owner;
};
