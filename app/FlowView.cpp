#include "app/FlowView.h"

#include <QMouseEvent>

FlowView::FlowView() { setSurfaceType(QSurface::OpenGLSurface); }

void FlowView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    // Qt delivers the second press of a double click as a press flagged as
    // such, followed by the double-click event.  A double click places one
    // obstacle, like two presses far enough apart would place two: only the
    // first press counts.
    if (event->flags() & Qt::MouseEventCreatedDoubleClick)
        return;
    if (!onPress)
        return;
    const QPoint p = event->position().toPoint();
    // Press points are signed 16-bit client coordinates, so whatever the
    // platform reports, the grid mapping only ever sees that range.
    onPress(event->button(), static_cast<int16_t>(p.x()), static_cast<int16_t>(p.y()));
}

void FlowView::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void FlowView::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!onHover)
        return;
    const QPoint p = event->position().toPoint();
    onHover(true, static_cast<int16_t>(p.x()), static_cast<int16_t>(p.y()));
}

bool FlowView::event(QEvent* event)
{
    if (event->type() == QEvent::Leave && onHover)
        onHover(false, 0, 0);
    return QWindow::event(event);
}
