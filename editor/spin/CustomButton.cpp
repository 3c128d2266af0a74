#include "editor/spin/CustomButton.h"

#include <QFocusEvent>
#include <QMouseEvent>

#include "editor/spin/SpinEdit.h"
#include "platform/messages/MessageDispatch.h"

CCustomButton::CCustomButton(CSpinEdit* owner_) : QPushButton(QStringLiteral("..."), owner_), owner(owner_)
{
    // Enter in the text field belongs to the editor, never to this button.
    setAutoDefault(false);
    setDefault(false);
}

void CCustomButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QPushButton::mousePressEvent(event);
        return;
    }
    // The popup takes the mouse from here on; the button only looks pressed
    // until the owner hears that the popup has closed.
    setDown(true);
    event->accept();
    SendMessage(owner, SEM_SHOWPOPUP);
}

void CCustomButton::focusOutEvent(QFocusEvent* event)
{
    QPushButton::focusOutEvent(event);
    owner->On_PartKillFocus();
}
