#include "editor/spin/CustomEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "editor/spin/PopupTrackBar.h"
#include "editor/spin/SpinEdit.h"
#include "platform/messages/Beep.h"
#include "platform/messages/MessageDispatch.h"

CCustomEdit::CCustomEdit(CSpinEdit* owner_) : QLineEdit(owner_), owner(owner_)
{
    setFocusPolicy(Qt::StrongFocus);
    setFrame(false);
    // Only typing reads the text back; texts the control writes itself are
    // already the canonical form of its position.
    connect(this, &QLineEdit::textEdited, this, [this] { On_Change(); });
}

void CCustomEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Up:
    case Qt::Key_Down:
        owner->On_KeyDown(event->key());
        event->accept();
        return;
    default:
        break;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const QChar c = typed.front();
        const bool allowed = c.isDigit() || c == u'-' || c == u'.' || c == u'\b';
        // Characters without a printed form (backspace, delete, tab) are
        // editing keys, not typed text.
        if (!allowed && c.isPrint()) {
            MessageBeep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void CCustomEdit::On_Change()
{
    QByteArray text = this->text().toUtf8();
    if (text.size() > kSpinTextMax)
        text.truncate(kSpinTextMax);
    QWidget* parent = parentWidget();
    int position = static_cast<int>(SendMessage(parent, SEM_GETVALUE, 0, reinterpret_cast<LPARAM>(text.constData())));
    int lo = 0;
    int hi = 0;
    SendMessage(parent, SEM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    if (position > hi)
        position = hi;
    if (position < lo)
        position = lo;
    if (position != static_cast<int>(SendMessage(parent, SEM_GETPOS)))
        SendMessage(parent, SEM_SETPOS, SETPOS_KEEPTEXT, position);
}

void CCustomEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Only a typed text is rewritten in the position's form.  A text the
    // control put there stays: a derived control may show a value that lies
    // between two positions, and rewriting it would show, and on Enter
    // write, the rounded value instead.
    if (isModified()) {
        QWidget* parent = parentWidget();
        const int position = static_cast<int>(SendMessage(parent, SEM_GETPOS));
        char text[kSpinTextBuffer] = {};
        SendMessage(parent, SEM_GETSTRING, static_cast<WPARAM>(static_cast<intptr_t>(position)),
                    reinterpret_cast<LPARAM>(text));
        text[kSpinTextBuffer - 1] = 0;
        setText(QString::fromUtf8(text));
    }
    selectAll();
    owner->On_PartKillFocus();
}
