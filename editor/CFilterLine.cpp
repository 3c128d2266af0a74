#include "editor/CFilterLine.h"

#include <QKeyEvent>

CFilterLine::CFilterLine(QWidget* parent) : QLineEdit(parent)
{
    setPlaceholderText(QStringLiteral("filter"));
    setClearButtonEnabled(true);
}

void CFilterLine::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
