#include "editor/MouseGesture.h"

#include <QEvent>

#include "editor/EditGestures.h"

CMouseGesture::CMouseGesture(CEditGestures* target_) : target(target_) {}

CMouseGesture::~CMouseGesture() { Close(); }

void CMouseGesture::Watch(QObject* widget)
{
    if (widget) widget->installEventFilter(this);
}

bool CMouseGesture::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A press whose release went elsewhere (a dialog opened from the
        // press took it) ends with the next press.
        Close();
        if (target) {
            target->BeginGesture();
            open = true;
        }
        break;
    case QEvent::MouseButtonRelease:
        // The views write on press and move, never on release.
        Close();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CMouseGesture::Close()
{
    if (!open) return;
    open = false;
    if (target) target->EndGesture();
}
