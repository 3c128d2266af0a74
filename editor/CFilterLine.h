// The filter line above the variable list.  Escape clears a text; on an
// empty line it goes on to the window, which uses it to close.
#pragma once

#include <QLineEdit>

class CFilterLine : public QLineEdit {
public:
    explicit CFilterLine(QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
