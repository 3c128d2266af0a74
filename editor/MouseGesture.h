// Makes each press-to-release of a mouse button on the watched widgets one
// gesture: the curve and colour-ramp editors write on every mouse move,
// and a drag is taken back as a whole.
#pragma once

#include <QObject>

class CEditGestures;

class CMouseGesture : public QObject {
public:
    // target may be null: then nothing is bracketed.
    explicit CMouseGesture(CEditGestures* target);
    ~CMouseGesture() override;

    void Watch(QObject* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Close();

    CEditGestures* target;
    bool open = false;
};
