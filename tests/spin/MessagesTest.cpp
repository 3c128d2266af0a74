#include <dlfcn.h>

#include <QTest>
#include <QWidget>
#include <memory>

#include "platform/messages/Beep.h"
#include "platform/messages/MessageDispatch.h"
#include "platform/messages/MessageHook.h"
#include "platform/messages/MessageTarget.h"

namespace {

// Answers "double" with wParam * 2; counts what it sees.
class Doubler : public QWidget, public MessageTarget {
public:
    UINT doubleId = RegisterWindowMessage("test :: double");
    int seen = 0;

    bool OnRegisteredMessage(UINT id, WPARAM wParam, LPARAM, LRESULT& result) override
    {
        ++seen;
        if (id != doubleId)
            return false;
        result = static_cast<LRESULT>(wParam) * 2;
        return true;
    }
};

// Changes one answer of its base and keeps the rest.
class Tripler : public Doubler {
public:
    UINT tripleId = RegisterWindowMessage("test :: triple");

    bool OnRegisteredMessage(UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (id == tripleId) {
            result = static_cast<LRESULT>(wParam) * 3 + lParam;
            return true;
        }
        return Doubler::OnRegisteredMessage(id, wParam, lParam, result);
    }
};

}  // namespace

class MessagesTest : public QObject {
    Q_OBJECT

private slots:
    void namesKeepTheirNumbers()
    {
        const UINT a = RegisterWindowMessage("SEM_GETPOS :: {0BE32DC8-69D1-4291-BADC-FC1B478D03AC}");
        const UINT b = RegisterWindowMessage("SEM_SETPOS :: {03D234FC-45B3-42e5-B7D5-4FBEF1BC87D8}");
        QVERIFY(a >= kFirstRegisteredMessage && a <= kLastRegisteredMessage);
        QVERIFY(b >= kFirstRegisteredMessage && b <= kLastRegisteredMessage);
        QVERIFY(a != b);
        QCOMPARE(RegisterWindowMessage("SEM_GETPOS :: {0BE32DC8-69D1-4291-BADC-FC1B478D03AC}"), a);
        QCOMPARE(RegisterWindowMessage("sem_getpos :: {0be32dc8-69d1-4291-badc-fc1b478d03ac}"), a);
        QCOMPARE(RegisterWindowMessage(""), UINT(0));
    }

    void modulesOfTheProcessAgree()
    {
        // Each module registers its own names first, in its own order.
        using Register = UINT (*)(const char*);
        void* a = dlopen(MODULE_A, RTLD_NOW | RTLD_LOCAL);
        void* b = dlopen(MODULE_B, RTLD_NOW | RTLD_LOCAL);
        QVERIFY2(a && b, dlerror());
        auto registerA = reinterpret_cast<Register>(dlsym(a, "RegisterFromModule"));
        auto registerB = reinterpret_cast<Register>(dlsym(b, "RegisterFromModule"));
        QVERIFY(registerA && registerB);
        const UINT inA = registerA("test :: only in a");
        const UINT format = registerB("CF_ATR");
        QCOMPARE(registerA("CF_ATR"), format);
        QCOMPARE(RegisterClipboardFormat("CF_ATR"), format);
        QCOMPARE(registerB("test :: only in a"), inA);
        QVERIFY(inA != format);
        dlclose(a);
        dlclose(b);
    }

    void targetsAnswerAndDerivedClassesOverride()
    {
        Tripler widget;
        const UINT unknown = RegisterWindowMessage("test :: nobody answers");
        QCOMPARE(SendMessage(&widget, widget.doubleId, 21), LRESULT(42));
        QCOMPARE(SendMessage(&widget, widget.tripleId, 5, -1), LRESULT(14));
        QCOMPARE(SendMessage(&widget, unknown, 5, 5), LRESULT(0));
        QCOMPARE(widget.seen, 2);

        QWidget plain;
        QCOMPARE(SendMessage(&plain, widget.doubleId, 21), LRESULT(0));
        QCOMPARE(SendMessage(nullptr, widget.doubleId, 21), LRESULT(0));
    }

    void hooksComeFirstAndGoAway()
    {
        Doubler widget;
        std::vector<int> order;
        auto first = std::make_unique<MessageHook>(&widget, [&](UINT id, WPARAM wParam, LPARAM, LRESULT& result) {
            order.push_back(1);
            if (id != widget.doubleId || wParam != 7)
                return false;
            result = 700;
            return true;
        });
        MessageHook second(&widget, [&](UINT, WPARAM, LPARAM, LRESULT&) {
            order.push_back(2);
            return false;
        });
        QCOMPARE(SendMessage(&widget, widget.doubleId, 7), LRESULT(700));
        QCOMPARE(order, (std::vector<int>{2, 1}));
        QCOMPARE(widget.seen, 0);
        // Unhandled by the hooks: the widget answers.
        QCOMPARE(SendMessage(&widget, widget.doubleId, 8), LRESULT(16));

        first.reset();
        order.clear();
        QCOMPARE(SendMessage(&widget, widget.doubleId, 7), LRESULT(14));
        QCOMPARE(order, (std::vector<int>{2}));
    }

    void hookRemovingItselfWhileCalled()
    {
        Doubler widget;
        int calls = 0;
        auto hook = std::make_unique<MessageHook>();
        hook->Install(&widget, [&](UINT, WPARAM, LPARAM, LRESULT&) {
            ++calls;
            hook->Remove();
            return false;
        });
        QCOMPARE(SendMessage(&widget, widget.doubleId, 2), LRESULT(4));
        QCOMPARE(SendMessage(&widget, widget.doubleId, 2), LRESULT(4));
        QCOMPARE(calls, 1);
        QVERIFY(!hook->IsInstalled());
    }

    void hookOnDeadWidgetIsNeverCalled()
    {
        int calls = 0;
        auto widget = std::make_unique<QWidget>();
        MessageHook hook(widget.get(), [&](UINT, WPARAM, LPARAM, LRESULT&) {
            ++calls;
            return true;
        });
        widget.reset();
        // Another widget, perhaps at the same address, is not the hooked one.
        QWidget other;
        SendMessage(&other, RegisterWindowMessage("test :: double"), 1);
        QCOMPARE(calls, 0);
    }

    void beepGoesToTheInstalledHandler()
    {
        int beeps = 0;
        auto previous = SetBeepHandler([&] { ++beeps; });
        MessageBeep();
        MessageBeep();
        QCOMPARE(beeps, 2);
        SetBeepHandler(previous);
    }
};

QTEST_MAIN(MessagesTest)
#include "MessagesTest.moc"
