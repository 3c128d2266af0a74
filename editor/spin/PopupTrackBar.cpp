#include "editor/spin/PopupTrackBar.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <qdrawutil.h>

#include "editor/spin/SpinEdit.h"
#include "platform/messages/MessageDispatch.h"

CPopupTrackBar::CPopupTrackBar(CSpinEdit* owner_, int lo_, int hi_, int pos_, QPoint cursor, QPoint topLeft)
    : QWidget(owner_, Qt::Popup | Qt::FramelessWindowHint), owner(owner_), lo(lo_), hi(hi_), position(pos_),
      cursorAtOpen(cursor)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    setGeometry(topLeft.x(), topLeft.y(), kWidth, HeightFor(lo, hi));
    RecomputeScale();
    trackY = ThumbTop();
    show();

    // The cursor disappears and sits on the thumb, so that the first move
    // continues from the current position.
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    cursorHidden = true;
    lastCursorY = topLeft.y() + ThumbTop();
    QCursor::setPos(cursorAtOpen.x(), lastCursorY);

    SendMessage(owner, SEM_POPUPSTATECHANGE, 0);
}

CPopupTrackBar::~CPopupTrackBar()
{
    // Whatever ends the popup, the cursor comes back.
    if (cursorHidden)
        QGuiApplication::restoreOverrideCursor();
}

int CPopupTrackBar::HeightFor(int lo, int hi)
{
    const double positions = static_cast<double>(hi) - lo;
    return static_cast<int>(std::clamp(positions + kThumb, double(kHeight), double(kMaxTrack + kThumb)));
}

void CPopupTrackBar::RecomputeScale()
{
    scale = hi > lo ? (height() - 4.0) / (static_cast<double>(hi) - lo) : 0.0;
}

int CPopupTrackBar::ThumbTop() const
{
    return static_cast<int>((static_cast<double>(hi) - position) * scale + 0.5);
}

int CPopupTrackBar::PositionAt(double y) const
{
    if (y < 0)
        y = 0;
    if (y > height() - 4)
        y = height() - 4;
    // An empty range has nowhere to go.
    if (scale <= 0)
        return hi;
    return hi - static_cast<int>(std::lround(y / scale));
}

void CPopupTrackBar::mouseMoveEvent(QMouseEvent* event)
{
    if (finished)
        return;
    // Only a move up or down moves the slider.  Placing the cursor on the
    // thumb is reported as a move too, and the thumb's pixel, rounded, can
    // stand for a neighbouring position.
    const int cursorY = event->globalPosition().toPoint().y();
    if (cursorY == lastCursorY)
        return;
    const int moved = cursorY - lastCursorY;
    lastCursorY = cursorY;
    const Qt::KeyboardModifiers keys = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    const double factor = keys == Qt::ShiftModifier ? 0.1 : keys == Qt::ControlModifier ? 10.0 : 1.0;
    if (factor != 1.0)
        relative = true;
    if (relative)
        trackY = std::clamp(trackY + moved * factor, 0.0, double(height() - kThumb));
    else
        trackY = event->position().toPoint().y();
    position = PositionAt(trackY);
    update();
    SendMessage(owner, SEM_SETPOS, SETPOS_NOTIFY, position);
}

void CPopupTrackBar::mousePressEvent(QMouseEvent* event) { event->accept(); }

void CPopupTrackBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Finish();
}

void CPopupTrackBar::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // Another window took over (Escape, or a window of another program):
    // the popup cannot outlive the gesture that opened it.
    if (!finished && event->reason() != Qt::PopupFocusReason)
        Finish();
}

void CPopupTrackBar::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (!finished)
        Finish();
}

void CPopupTrackBar::Finish()
{
    if (finished)
        return;
    finished = true;
    releaseMouse();
    SendMessage(owner, SEM_POPUPSTATECHANGE, 1);
    QCursor::setPos(cursorAtOpen);
    if (cursorHidden) {
        QGuiApplication::restoreOverrideCursor();
        cursorHidden = false;
    }
    hide();
    deleteLater();
}

void CPopupTrackBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RecomputeScale();
}

void CPopupTrackBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    const QRect client = rect();
    qDrawWinPanel(&painter, client, colours, false);
    const QRect inside = client.adjusted(2, 2, -2, -2);
    const int thumb = static_cast<int>((static_cast<double>(hi) - position) * scale);
    painter.save();
    painter.setClipRect(inside);
    painter.fillRect(QRect(inside.left(), 0, inside.width(), thumb), colours.color(QPalette::Button));
    painter.fillRect(QRect(inside.left(), thumb, inside.width(), client.height() - thumb),
                     colours.color(QPalette::Active, QPalette::Highlight));
    painter.restore();
    qDrawWinButton(&painter, QRect(inside.left(), thumb, inside.width(), kThumb), colours, false,
                   &colours.brush(QPalette::Button));
}
