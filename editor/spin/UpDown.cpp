#include "editor/spin/UpDown.h"

#include <QGuiApplication>
#include <QToolButton>

#include "editor/spin/SpinEdit.h"

CUpDown::CUpDown(CSpinEdit* owner_) : QWidget(owner_), owner(owner_)
{
    up = new QToolButton(this);
    down = new QToolButton(this);
    for (QToolButton* arrow : {up, down}) {
        arrow->setAutoRepeat(true);
        // The text field keeps the focus while the arrows are clicked.
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRaise(false);
    }
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    connect(up, &QToolButton::clicked, this, [this] { owner->On_ArrowStep(1, QGuiApplication::keyboardModifiers()); });
    connect(down, &QToolButton::clicked, this,
            [this] { owner->On_ArrowStep(-1, QGuiApplication::keyboardModifiers()); });
}

void CUpDown::resizeEvent(QResizeEvent*)
{
    const int upper = height() / 2;
    up->setGeometry(0, 0, width(), upper);
    down->setGeometry(0, upper, width(), height() - upper);
}
