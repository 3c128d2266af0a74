// The idle policy: the handler runs while the queue is empty, stops when it
// asks to, and starts again after any event but motion and painting.
#include <QMouseEvent>
#include <QtTest>

#include "app/IdleLoop.h"

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
        QTRY_VERIFY(calls > 10);
        keepGoing = false;
        QTRY_VERIFY(!loop.IdleEnabled());
        const int stoppedAt = calls;
        QTest::qWait(50);
        QCOMPARE(calls, stoppedAt);

        QObject target;
        QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &move);
        QEvent paint(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(&target, &paint);
        QTest::qWait(50);
        QCOMPARE(calls, stoppedAt);
        QVERIFY(!loop.IdleEnabled());

        keepGoing = true;
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
        QTRY_VERIFY(calls > stoppedAt + 10);
        QVERIFY(loop.IdleEnabled());
    }
};

QTEST_MAIN(IdleLoopTest)
#include "IdleLoopTest.moc"
