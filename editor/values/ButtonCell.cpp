#include "editor/values/ButtonCell.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "editor/CVarListView.h"

CButtonCell::CButtonCell(CVarListView* list_) : QFrame(list_->EditorParent()), list(list_)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    button = new QPushButton(QStringLiteral("..."), this);
    button->setAutoDefault(false);
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, [this] { On_Command(ID_EDIT); });
    hide();
}

void CButtonCell::Open(CVarListView* list_)
{
    list = list_;
    Resize();
    show();
    raise();
    setFocus(Qt::MouseFocusReason);
}

void CButtonCell::Resize()
{
    if (!list)
        return;
    const int row = list->SelectedRow();
    if (row >= 0)
        setGeometry(list->GetValueCellRect(row));
}

void CButtonCell::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    const QRect client = contentsRect();
    const int middle = client.width() / 2;
    button->setGeometry(client.left() + middle, client.top(), client.width() - middle, client.height());
}

void CButtonCell::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        On_Command(ID_EDIT);
        return;
    case Qt::Key_Escape:
        event->accept();
        if (list)
            list->setFocus(Qt::OtherFocusReason);
        hide();
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

void CButtonCell::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    On_KillFocus(event);
}

bool CButtonCell::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == button && event->type() == QEvent::FocusOut)
        On_KillFocus(static_cast<QFocusEvent*>(event));
    return QFrame::eventFilter(watched, event);
}

void CButtonCell::On_KillFocus(QFocusEvent* event)
{
    if (event->reason() == Qt::PopupFocusReason)
        return;
    QWidget* to = QApplication::focusWidget();
    if (to == this || to == button)
        return;
    hide();
}
