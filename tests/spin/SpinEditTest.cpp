#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "editor/spin/CustomButton.h"
#include "editor/spin/CustomEdit.h"
#include "editor/spin/PopupTrackBar.h"
#include "editor/spin/SpinEdit.h"
#include "editor/spin/UpDown.h"
#include "platform/messages/Beep.h"
#include "platform/messages/MessageDispatch.h"

namespace {

struct Change {
    QWidget* control;
    int position;
    bool operator==(const Change&) const = default;
};

// The parent window: records every SEN_CHANGED it hears.
class Parent : public QWidget, public MessageTarget {
public:
    std::vector<Change> changes;
    std::function<void()> onChanged;

    bool OnRegisteredMessage(UINT id, WPARAM wParam, LPARAM lParam, LRESULT&) override
    {
        if (id != SEN_CHANGED)
            return false;
        changes.push_back({reinterpret_cast<QWidget*>(wParam), static_cast<int>(lParam)});
        if (onChanged)
            onChanged();
        return true;
    }
};

// Shows positions as tenths ("0.3" for 3) and records where the focus went.
class TenthsSpin : public CSpinEdit {
public:
    using CSpinEdit::CSpinEdit;
    std::vector<QWidget*> focusLosses;

    bool OnRegisteredMessage(UINT id, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (id == SEM_GETSTRING) {
            std::snprintf(reinterpret_cast<char*>(lParam), kSpinTextBuffer, "%.1f",
                          static_cast<int>(static_cast<intptr_t>(wParam)) / 10.0);
            return true;
        }
        if (id == SEM_GETVALUE) {
            result = std::lround(std::atof(reinterpret_cast<const char*>(lParam)) * 10);
            return true;
        }
        return CSpinEdit::OnRegisteredMessage(id, wParam, lParam, result);
    }
    void On_KillFocus(QWidget* newFocus) override { focusLosses.push_back(newFocus); }
};

}  // namespace

class SpinEditTest : public QObject {
    Q_OBJECT

    Parent* parent = nullptr;
    QLineEdit* elsewhere = nullptr;
    int beeps = 0;

    CSpinEdit* Make(unsigned flags, int lo = 0, int hi = 100)
    {
        auto* spin = new CSpinEdit(parent, QRect(10, 10, 160, 24), flags);
        spin->SetRange(lo, hi);
        spin->SetValue(lo, true);
        return spin;
    }

    static QString Text(CSpinEdit* spin) { return spin->GetEdit()->text(); }

private slots:
    void init()
    {
        parent = new Parent;
        parent->resize(400, 300);
        elsewhere = new QLineEdit(parent);
        elsewhere->setGeometry(10, 200, 100, 24);
        parent->show();
        QVERIFY(QTest::qWaitForWindowActive(parent));
        beeps = 0;
        SetBeepHandler([this] { ++beeps; });
    }

    void cleanup()
    {
        delete parent;
        parent = nullptr;
        SetBeepHandler({});
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void positionIsClampedToTheRange()
    {
        CSpinEdit* spin = Make(SPIN_UPDOWN | SPIN_POPUPBUTTON);
        QCOMPARE(SendMessage(spin, SEM_SETPOS, 0, 150), LRESULT(0));
        QCOMPARE(SendMessage(spin, SEM_GETPOS), LRESULT(100));
        QCOMPARE(Text(spin), QString("100"));
        SendMessage(spin, SEM_SETPOS, 0, -5);
        QCOMPARE(spin->GetValue(), 0);
        QVERIFY(parent->changes.empty());
    }

    void setPositionOptions()
    {
        CSpinEdit* spin = Make(SPIN_UPDOWN);
        // 1: the text stays as it is, nobody is told.
        SendMessage(spin, SEM_SETPOS, SETPOS_KEEPTEXT, 42);
        QCOMPARE(spin->GetValue(), 42);
        QCOMPARE(Text(spin), QString("0"));
        QVERIFY(parent->changes.empty());
        // 4: the text follows and the parent hears of it once.
        SendMessage(spin, SEM_SETPOS, SETPOS_NOTIFY, 43);
        QCOMPARE(Text(spin), QString("43"));
        QCOMPARE(parent->changes, (std::vector<Change>{{spin, 43}}));
        // An equal position is a change only when forced.
        spin->SetText("junk");
        SendMessage(spin, SEM_SETPOS, SETPOS_NOTIFY, 43);
        QCOMPARE(Text(spin), QString("junk"));
        QCOMPARE(parent->changes.size(), size_t(1));
        SendMessage(spin, SEM_SETPOS, SETPOS_FORCE | SETPOS_NOTIFY, 43);
        QCOMPARE(Text(spin), QString("43"));
        QCOMPARE(parent->changes.size(), size_t(2));
        // SetValue never notifies.
        spin->SetValue(7, true);
        QCOMPARE(Text(spin), QString("7"));
        QCOMPARE(parent->changes.size(), size_t(2));
    }

    void changeCausedByANotificationIsIgnored()
    {
        CSpinEdit* spin = Make(SPIN_UPDOWN);
        parent->onChanged = [&] { SendMessage(spin, SEM_SETPOS, SETPOS_NOTIFY, 99); };
        SendMessage(spin, SEM_SETPOS, SETPOS_NOTIFY, 10);
        QCOMPARE(spin->GetValue(), 10);
        QCOMPARE(parent->changes.size(), size_t(1));
    }

    void rangeAndReadOnly()
    {
        CSpinEdit* spin = Make(SPIN_UPDOWN, 0, 100);
        SendMessage(spin, SEM_SETPOS, 0, 80);
        SendMessage(spin, SEM_SETRANGE, static_cast<WPARAM>(-20), 50);
        int lo = 1, hi = 1;
        SendMessage(spin, SEM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
        QCOMPARE(lo, -20);
        QCOMPARE(hi, 50);
        SendMessage(spin, SEM_GETRANGE, 0, reinterpret_cast<LPARAM>(&hi));
        // A new range does not move the position.
        QCOMPARE(spin->GetValue(), 80);

        QCOMPARE(SendMessage(spin, SEM_GETREADONLY), LRESULT(0));
        SendMessage(spin, SEM_SETREADONLY, 1);
        QCOMPARE(SendMessage(spin, SEM_GETREADONLY), LRESULT(1));
        spin->GetEdit()->setFocus();
        QTest::keyClicks(spin->GetEdit(), "12");
        QCOMPARE(spin->GetValue(), 80);
        SendMessage(spin, SEM_SETREADONLY, 0);
        QVERIFY(!spin->GetReadOnly());
    }

    void keysAreFiltered()
    {
        CSpinEdit* spin = Make(SPIN_UPDOWN, -100, 100);
        QLineEdit* edit = spin->GetEdit();
        edit->setFocus();
        edit->clear();
        QTest::keyClicks(edit, "-1x2.a5");
        QCOMPARE(edit->text(), QString("-12.5"));
        QCOMPARE(beeps, 2);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString("-12."));
        QCOMPARE(beeps, 2);
        QCOMPARE(spin->GetValue(), -12);
        QVERIFY(parent->changes.empty());
    }

    void arrowKeysStepWithinTheRange()
    {
        CSpinEdit* spin = Make(SPIN_UPDOWN, 0, 2);
        QLineEdit* edit = spin->GetEdit();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Up);
        QTest::keyClick(edit, Qt::Key_Up);
        QTest::keyClick(edit, Qt::Key_Up);
        QCOMPARE(spin->GetValue(), 2);
        QCOMPARE(edit->text(), QString("2"));
        QTest::keyClick(edit, Qt::Key_Down);
        QCOMPARE(spin->GetValue(), 1);
        QVERIFY(parent->changes.empty());
    }

    void upDownArrowsNotify()
    {
        CSpinEdit* spin = Make(SPIN_UPDOWN, 0, 1);
        QTest::mouseClick(spin->GetUpDown()->GetUpArrow(), Qt::LeftButton);
        QCOMPARE(spin->GetValue(), 1);
        QCOMPARE(Text(spin), QString("1"));
        QCOMPARE(parent->changes, (std::vector<Change>{{spin, 1}}));
        // At the top the arrow still reports the (clamped) position.
        QTest::mouseClick(spin->GetUpDown()->GetUpArrow(), Qt::LeftButton);
        QCOMPARE(spin->GetValue(), 1);
        QTest::mouseClick(spin->GetUpDown()->GetDownArrow(), Qt::LeftButton);
        QCOMPARE(parent->changes, (std::vector<Change>{{spin, 1}, {spin, 1}, {spin, 0}}));
    }

    void typingClampsAndFocusLossRewritesTheText()
    {
        CSpinEdit* spin = Make(SPIN_UPDOWN | SPIN_POPUPBUTTON);
        QLineEdit* edit = spin->GetEdit();
        edit->setFocus();
        QVERIFY(edit->hasFocus());
        edit->selectAll();
        QTest::keyClicks(edit, "250");
        QCOMPARE(spin->GetValue(), 100);
        QCOMPARE(edit->text(), QString("250"));
        QVERIFY(parent->changes.empty());
        elsewhere->setFocus();
        QCOMPARE(edit->text(), QString("100"));
        QVERIFY(parent->changes.empty());
    }

    void derivedControlMapsTextsAndHearsFocusLoss()
    {
        auto* spin = new TenthsSpin(parent, QRect(10, 10, 160, 24), SPIN_UPDOWN | SPIN_POPUPBUTTON);
        spin->SetRange(0, 50);
        spin->SetValue(3, true);
        QCOMPARE(Text(spin), QString("0.3"));
        QLineEdit* edit = spin->GetEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, "1.26");
        QCOMPARE(spin->GetValue(), 13);
        QCOMPARE(edit->text(), QString("1.26"));
        elsewhere->setFocus();
        QCOMPARE(edit->text(), QString("1.3"));
        QCOMPARE(spin->focusLosses, (std::vector<QWidget*>{elsewhere}));
    }

    void popupHoldsBackNotificationsUntilItCloses()
    {
        CSpinEdit* spin = Make(SPIN_UPDOWN | SPIN_POPUPBUTTON, 0, 100);
        SendMessage(spin, SEM_SETPOS, 0, 50);
        QCOMPARE(spin->GetValue(), 50);
        const QPoint pressedAt = spin->GetButton()->mapToGlobal(QPoint(5, 5));
        QCursor::setPos(pressedAt);
        QTest::mousePress(spin->GetButton(), Qt::LeftButton, {}, QPoint(5, 5));

        CPopupTrackBar* popup = spin->GetPopup();
        QVERIFY(popup);
        QVERIFY(popup->isVisible());
        QVERIFY(spin->IsSuppressed());
        QVERIFY(spin->IsChild(popup));
        QVERIFY(spin->GetButton()->isDown());
        // A track of a pixel per unit, centred on the cursor as far as the
        // screen lets it.
        QCOMPARE(popup->width(), CPopupTrackBar::kWidth);
        QCOMPARE(popup->height(), 104);
        const QRect button(spin->GetButton()->mapToGlobal(QPoint(0, 0)), spin->GetButton()->size());
        const int screenTop = QGuiApplication::screenAt(pressedAt)->availableGeometry().top();
        QCOMPARE(popup->pos(), QPoint(button.x() + button.width() + 4, std::max(screenTop, pressedAt.y() - 52)));
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        // The cursor sits on the thumb, 50 from the top.
        QCOMPARE(QCursor::pos(), QPoint(pressedAt.x(), popup->pos().y() + 50));

        QTest::mouseMove(popup, QPoint(5, 0));
        QCOMPARE(spin->GetValue(), 100);
        QCOMPARE(Text(spin), QString("100"));
        QTest::mouseMove(popup, QPoint(5, 500));
        QCOMPARE(spin->GetValue(), 0);
        QTest::mouseMove(popup, QPoint(5, 50));
        QCOMPARE(spin->GetValue(), 50);
        QTest::mouseMove(popup, QPoint(5, 15));
        QCOMPARE(spin->GetValue(), 85);
        QVERIFY(parent->changes.empty());

        QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(5, 15));
        QCOMPARE(parent->changes, (std::vector<Change>{{spin, 85}}));
        QVERIFY(!spin->IsSuppressed());
        QVERIFY(!spin->GetButton()->isDown());
        QCOMPARE(QCursor::pos(), pressedAt);
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(spin->GetEdit()->hasFocus());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!spin->GetPopup());
    }

    void shiftIsTenTimesFinerAndCtrlTenTimesCoarser()
    {
        CSpinEdit* spin = Make(SPIN_UPDOWN | SPIN_POPUPBUTTON, 0, 240);
        SendMessage(spin, SEM_SETPOS, 0, 100);
        QTest::mouseClick(spin->GetUpDown()->GetUpArrow(), Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(spin->GetValue(), 110);
        // A position is the finest step the plain control has.
        QTest::mouseClick(spin->GetUpDown()->GetUpArrow(), Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(spin->GetValue(), 111);
        SendMessage(spin, SEM_SETPOS, 0, 120);

        // 240 positions get a pixel each.
        QTest::mousePress(spin->GetButton(), Qt::LeftButton, {}, QPoint(5, 5));
        CPopupTrackBar* popup = spin->GetPopup();
        QVERIFY(popup);
        QCOMPARE(popup->height() - CPopupTrackBar::kThumb, 240);
        const int thumb = popup->ThumbTop();
        const auto move = [popup](int y, Qt::KeyboardModifiers keys) {
            const QPoint at(5, y);
            QMouseEvent event(QEvent::MouseMove, at, popup->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, keys);
            QApplication::sendEvent(popup, &event);
        };
        move(thumb - 10, Qt::ShiftModifier);
        QCOMPARE(spin->GetValue(), 121);
        move(thumb - 12, Qt::ControlModifier);
        QCOMPARE(spin->GetValue(), 141);
        // Without the keys the slider goes on from where it is.
        move(thumb - 11, {});
        QCOMPARE(spin->GetValue(), 140);
        QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(5, thumb - 11));
        QCOMPARE(parent->changes.back(), (Change{spin, 140}));
        // Short ranges keep the short track.
        QCOMPARE(CPopupTrackBar::HeightFor(0, 10), CPopupTrackBar::kHeight);
    }

    void popupNotifiesEveryMoveWithBit3()
    {
        CSpinEdit* spin = Make(SPIN_POPUPBUTTON | SPIN_NOTIFYALWAYS, 0, 10);
        QTest::mousePress(spin->GetButton(), Qt::LeftButton, {}, QPoint(5, 5));
        CPopupTrackBar* popup = spin->GetPopup();
        QVERIFY(popup);
        QTest::mouseMove(popup, QPoint(5, 0));
        QTest::mouseMove(popup, QPoint(5, 66));
        QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(5, 66));
        QCOMPARE(parent->changes, (std::vector<Change>{{spin, 10}, {spin, 0}, {spin, 0}}));
    }

    void popupClosedWithoutReleaseStillEnds()
    {
        CSpinEdit* spin = Make(SPIN_POPUPBUTTON, 0, 10);
        QTest::mousePress(spin->GetButton(), Qt::LeftButton, {}, QPoint(5, 5));
        CPopupTrackBar* popup = spin->GetPopup();
        QVERIFY(popup);
        QTest::mouseMove(popup, QPoint(5, 0));
        popup->close();
        QCOMPARE(parent->changes, (std::vector<Change>{{spin, 10}}));
        QVERIFY(!spin->IsSuppressed());
        QVERIFY(!QGuiApplication::overrideCursor());
        QTest::mouseRelease(spin->GetButton(), Qt::LeftButton, {}, QPoint(5, 5));
    }

    void emptyRangeDoesNotBreakThePopup()
    {
        CSpinEdit* spin = Make(SPIN_POPUPBUTTON | SPIN_POSITIONBAR, 5, 5);
        QTest::mousePress(spin->GetButton(), Qt::LeftButton, {}, QPoint(5, 5));
        CPopupTrackBar* popup = spin->GetPopup();
        QVERIFY(popup);
        QTest::mouseMove(popup, QPoint(5, 30));
        QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(5, 30));
        QCOMPARE(spin->GetValue(), 5);
        QTest::mouseClick(spin, Qt::LeftButton, {}, spin->GetBarRect().center());
        QCOMPARE(spin->GetValue(), 5);
    }

    void positionBarDragsAndNotifiesOnRelease()
    {
        CSpinEdit* spin = Make(SPIN_UPDOWN | SPIN_POSITIONBAR, 0, 10);
        const QRect bar = spin->GetBarRect();
        QVERIFY(!bar.isEmpty());
        QCOMPARE(bar.height(), 3);
        QVERIFY(spin->GetEdit()->geometry().bottom() < bar.top());
        const double scale = bar.width() / 10.0;
        const int y = bar.top() + 1;
        QTest::mousePress(spin, Qt::LeftButton, {}, QPoint(bar.left() + int(3.5 * scale), y));
        QCOMPARE(spin->GetValue(), 3);
        QCOMPARE(Text(spin), QString("3"));
        QVERIFY(spin->IsSuppressed());
        QTest::mouseMove(spin, QPoint(bar.left() + int(7.5 * scale), y));
        QCOMPARE(spin->GetValue(), 7);
        QTest::mouseMove(spin, QPoint(bar.left() - 50, y));
        QCOMPARE(spin->GetValue(), 0);
        QTest::mouseMove(spin, QPoint(bar.right() + 50, y));
        QCOMPARE(spin->GetValue(), 10);
        QVERIFY(parent->changes.empty());
        QTest::mouseRelease(spin, Qt::LeftButton, {}, QPoint(bar.right() + 50, y));
        QCOMPARE(parent->changes, (std::vector<Change>{{spin, 10}}));
        QVERIFY(!spin->IsSuppressed());
    }

    void layoutFollowsTheFlags()
    {
        CSpinEdit* all = Make(SPIN_UPDOWN | SPIN_POPUPBUTTON);
        const int s = all->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const int width = all->contentsRect().width();
        QCOMPARE(all->GetButton()->geometry().left() - all->contentsRect().left(), width - s);
        QCOMPARE(all->GetUpDown()->geometry().left() - all->contentsRect().left(), width - 2 * s);
        QCOMPARE(all->GetEdit()->width(), width - 2 * s);
        QVERIFY(all->GetBarRect().isEmpty());

        CSpinEdit* bare = Make(0);
        QVERIFY(!bare->GetButton());
        QVERIFY(!bare->GetUpDown());
        QCOMPARE(bare->GetEdit()->width(), bare->contentsRect().width());
        QVERIFY(!bare->IsChild(elsewhere));
        QVERIFY(bare->IsChild(bare->GetEdit()));
    }
};

QTEST_MAIN(SpinEditTest)
#include "SpinEditTest.moc"
