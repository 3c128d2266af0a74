// The message loop with idle processing: whenever the event queue is empty
// the idle handler runs one frame.  A zero-interval timer gives exactly
// that in Qt.  When the handler asks for no more calls the timer stops, and
// any event but pointer motion, painting and timer ticks starts it again.
//
// Frames belong to the outermost loop only.  A message box runs a loop of
// its own, and the timer would fire inside it too; an open menu holds the
// user's attention the same way, although this toolkit runs it without a
// loop of its own.  Meanwhile the timer is held back, and it starts again as
// soon as the outer loop has control once more.
#pragma once

#include <functional>

#include <QObject>
#include <QTimer>

class IdleLoop : public QObject {
public:
    // Returns false when it needs no further calls until the next event.
    using IdleHandler = std::function<bool()>;

    explicit IdleLoop(IdleHandler handler);
    ~IdleLoop() override;

    // Runs the application's event loop; returns its exit code.
    int Run();
    bool IdleEnabled() const { return timer.isActive(); }
    // How often the handler ran since idle processing was last re-enabled.
    long IdleCount() const { return idleCount; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTimer();
    void Enable();
    // A nested loop or an open menu: frames wait.
    bool Interrupted() const;
    void ResumeAfterInterruption();

    IdleHandler handler;
    QTimer timer;
    long idleCount = 0;
    // Depth of the event loop the frames belong to: the one this object was
    // made in, or the one Run starts.
    int outerLevel = 0;
    bool heldBack = false;
};
