// The idle policy: the handler runs while the queue is empty, stops when it
// asks to, and starts again after any event but motion and painting; it
// waits while a nested loop runs or a menu is open.
#include <QEventLoop>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QtTest>

#include "app/IdleLoop.h"

namespace {
// An idle loop whose handler always asks for more, counting its calls.
struct Running {
    int calls = 0;
    IdleLoop loop{[this] {
        ++calls;
        return true;
    }};
    Running() { QTRY_VERIFY(calls > 10); }
};
}  // namespace

class IdleLoopTest : public QObject {
    Q_OBJECT

private slots:
    void stopsWhenAskedAndRestartsAfterAnEvent()
    {
        int calls = 0;
        bool keepGoing = true;
        IdleLoop loop([&] {
            ++calls;
            return keepGoing;
        });
        // Built first: the first mouse event creates the pointing device, an
        // object whose arrival is itself an event.
        QObject target;
        QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);

        QTRY_VERIFY(calls > 10);
        keepGoing = false;
        QTRY_VERIFY(!loop.IdleEnabled());

        // The filter runs synchronously on every event sent, so the state
        // right after each one tells whether it woke the loop.
        QCoreApplication::sendEvent(&target, &move);
        QVERIFY(!loop.IdleEnabled());
        QEvent update(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(&target, &update);
        QVERIFY(!loop.IdleEnabled());
        QTimerEvent tick(12345);
        QCoreApplication::sendEvent(&target, &tick);
        QVERIFY(!loop.IdleEnabled());

        QCoreApplication::sendEvent(&target, &press);
        QVERIFY(loop.IdleEnabled());
        QCOMPARE(loop.IdleCount(), 0L);

        keepGoing = true;
        const int restartedAt = calls;
        QTRY_VERIFY(calls > restartedAt + 10);
        QVERIFY(loop.IdleEnabled());
    }

    // A message box's loop: no frame inside it, and frames again once it
    // ends, without any input to wake them.
    void nestedLoopHoldsFramesBackUntilItEnds()
    {
        Running running;
        QEventLoop nested;
        int during = -1;
        QTimer::singleShot(300, [&] {
            during = running.calls;
            nested.quit();
        });
        const int before = running.calls;
        nested.exec();
        QCOMPARE(during, before);
        QTRY_VERIFY(running.calls > before + 10);
    }

    void openMenuHoldsFramesBackUntilItCloses()
    {
        Running running;
        QMenu menu;
        menu.addAction("Reset");
        menu.popup(QPoint(10, 10));
        QVERIFY(menu.isVisible());
        const int before = running.calls;
        QTest::qWait(300);
        QCOMPARE(running.calls, before);
        menu.close();
        QTRY_VERIFY(running.calls > before + 10);
    }
};

QTEST_MAIN(IdleLoopTest)
#include "IdleLoopTest.moc"
