// The everyday gestures of the editor window, through real keys and clicks
// on a window over the real component, checked at the client's callback:
// undo and redo, reset in one gesture, keyboard navigation, row tooltips,
// the filter line, the last group of each tab and wrapped tabs.
#include <QHeaderView>
#include <QLineEdit>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

#include "editor/CFilterLine.h"
#include "editor/CMyTab.h"
#include "editor/CVarListView.h"
#include "editor/CVarTreeView.h"
#include "editor/InstallEditors.h"
#include "editor/LastGroups.h"
#include "editor/spin/CustomButton.h"
#include "editor/spin/CustomEdit.h"
#include "editor/spin/PopupTrackBar.h"
#include "editor/spin/UpDown.h"
#include "editor/values/VarSpinEdit.h"
#include "platform/messages/Beep.h"
#include "platform/registry/Registry.h"
#include "tests/editor/EditorTestSupport.h"

namespace {

using Calls = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

std::vector<uint8_t> Int(int32_t v)
{
    std::vector<uint8_t> b(4);
    std::memcpy(b.data(), &v, 4);
    return b;
}

}  // namespace

class GesturesTest : public QObject, private EditorOnClient {
    Q_OBJECT

    void Key(QWidget* w, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(w, Qt::Key(key), modifiers);
    }
    CVarSpinEdit* Spin() const { return dynamic_cast<CVarSpinEdit*>(list->EditorForKind(VARKIND_INT)); }

private slots:
    void initTestCase()
    {
        UseSandboxRegistry();
        InstallEditors();
    }

    void init()
    {
        DemoList* gestures = DemoList::Create("Gestures");
        gestures->AddInt("g|count", "an integer", 5, 5, -10, 10);
        gestures->AddInt("g|other", "another integer", 1, 1, 0, 300);
        gestures->AddDouble("g|ratio", "a double", 0.35, 0.35, 0, 1, 0.1);
        gestures->AddString("g|text", "a string", "abc", "abc");
        gestures->AddInt("h|deep|far", "a variable elsewhere", 0, 0, 0, 9);
        QVERIFY(OpenOn(gestures, "g"));
    }

    void cleanup() { CloseEditor(); }

    void undoAndRedoTravelTheRoadOfAnEdit()
    {
        // Two arrow steps, each a change of its own.
        ClickValue("g|count");
        QToolButton* up = Spin()->GetUpDown()->GetUpArrow();
        QTest::mouseClick(up, Qt::LeftButton);
        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(client.calls, (Calls{{"g|count", Int(6)}, {"g|count", Int(7)}}));
        Key(Spin()->GetEdit(), Qt::Key_Escape);
        QVERIFY(list->hasFocus());

        Key(list, Qt::Key_Z, Qt::ControlModifier);
        Key(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(RowText("g|count"), QString("5"));
        // Past the start: nothing reaches the client.
        Key(list, Qt::Key_Z, Qt::ControlModifier);
        Key(list, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(client.calls, (Calls{{"g|count", Int(6)}, {"g|count", Int(7)}, {"g|count", Int(6)},
                                      {"g|count", Int(5)}, {"g|count", Int(6)}}));
        QVERIFY(wnd->Tree(0)->FindGroup("g")->IsBold());

        // A new change forgets the redo.
        ClickValue("g|other");
        QTest::mouseClick(Spin()->GetUpDown()->GetDownArrow(), Qt::LeftButton);
        Key(Spin()->GetEdit(), Qt::Key_Escape);
        Key(list, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(client.calls.size(), size_t(6));
        QCOMPARE(client.calls.back(), (Calls::value_type{"g|other", Int(0)}));

        // A value from outside is shown but never taken back.
        const int32_t outside = -3;
        storage->p->SetData(&kListA, "g|count", &outside, 4);
        QCOMPARE(RowText("g|count"), QString("-3"));
        client.calls.clear();
        Key(list, Qt::Key_Z, Qt::ControlModifier);
        Key(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(client.calls, (Calls{{"g|other", Int(1)}, {"g|count", Int(5)}}));

        // The history is the component's: another of its windows takes
        // this window's last edit back.
        const int32_t eight = 8;
        list->RowVar(Row("g|count"))->SetValue(&eight, 4);
        CMainWnd other(nullptr, QRect(0, 0, 500, 300), storage->p, storage->p->GetListsInUse(),
                       &storage->p->GetGUIData(), nullptr);
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        other.Tree(0)->setFocus();
        client.calls.clear();
        Key(other.Tree(0), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(client.calls, (Calls{{"g|count", Int(5)}}));
        QCOMPARE(RowText("g|count"), QString("5"));
    }

    void historyKeepsTheLatestChanges()
    {
        CEditHistory history;
        for (int32_t i = 0; i < 300; ++i) history.Record(kListA, "x", Int(i), Int(i + 1).data(), 4);
        QCOMPARE(history.UndoCount(), CEditHistory::kDefaultLimit);
        QVERIFY(CEditHistory::kDefaultLimit >= 200);
        const CEditHistory::Change* last = nullptr;
        while (const CEditHistory::Change* change = history.Undo()) last = change;
        QCOMPARE(last->front().before, Int(300 - int32_t(CEditHistory::kDefaultLimit)));

        // Huge values take more room: the oldest go, the newest stays.
        CEditHistory small(CEditHistory::kDefaultLimit, 100);
        const std::vector<uint8_t> block(40, 1);
        for (uint8_t i = 0; i < 3; ++i) small.Record(kListA, "x", block, std::vector<uint8_t>(40, i).data(), 40);
        QCOMPARE(small.UndoCount(), size_t(1));
    }

    void aDragAResetAndAnImportAreOneChangeEach()
    {
        // The popup slider writes every position it passes; undo takes the drag back whole.
        ClickValue("g|other");
        CVarSpinEdit* spin = Spin();
        QTest::mousePress(spin->GetButton(), Qt::LeftButton, {}, QPoint(3, 3));
        CPopupTrackBar* popup = spin->GetPopup();
        QVERIFY(popup);
        QTest::mouseMove(popup, QPoint(5, 10));
        QTest::mouseMove(popup, QPoint(5, 20));
        QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(5, 20));
        QVERIFY(client.calls.size() >= 2);
        Key(spin->GetEdit(), Qt::Key_Escape);
        client.calls.clear();
        Key(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(client.calls, (Calls{{"g|other", Int(1)}}));

        // "Reset to Defaults" of a group: back in one step, last reset first.
        const int32_t seven = 7, two = 2;
        list->RowVar(Row("g|count"))->SetValue(&seven, 4);
        list->RowVar(Row("g|other"))->SetValue(&two, 4);
        wnd->Tree(0)->On_Command(CVarTreeView::ID_RESET_DEFAULTS);
        client.calls.clear();
        Key(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(client.calls, (Calls{{"g|other", Int(2)}, {"g|count", Int(7)}}));

        // An import of two records, the same.
        const auto record = [](const std::string& name, int32_t v) {
            const auto n = uint32_t(name.size() + 1);
            std::string r(reinterpret_cast<const char*>(&n), 4);
            r += name + '\0' + std::string("\x04\0\0\0", 4);
            return r + std::string(reinterpret_cast<const char*>(&v), 4);
        };
        const std::string file = MakeTempFolder() + "/set.bin";
        WriteFile(file, record("count", -1) + record("other", 9));
        wnd->Tree(0)->LoadFromFile(file);
        client.calls.clear();
        Key(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(client.calls, (Calls{{"g|other", Int(2)}, {"g|count", Int(7)}}));
    }

    void backspaceDeleteAndTheMarkerReset()
    {
        const int32_t seven = 7, three = 3;
        list->RowVar(Row("g|count"))->SetValue(&seven, 4);
        list->RowVar(Row("g|other"))->SetValue(&three, 4);
        QVERIFY(list->ResetMarkerRect(Row("g|ratio")).isEmpty());
        QVERIFY(!list->ResetMarkerRect(Row("g|count")).isEmpty());
        client.calls.clear();

        list->SelectRow(Row("g|count"));
        Key(list, Qt::Key_Backspace);
        QCOMPARE(RowText("g|count"), QString("5"));
        QVERIFY(list->ResetMarkerRect(Row("g|count")).isEmpty());
        // At its default: nothing to send.
        Key(list, Qt::Key_Delete);
        // A click on the marker of another row resets that row.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->ResetMarkerRect(Row("g|other")).center());
        QCOMPARE(list->SelectedRow(), Row("g|other"));
        QCOMPARE(client.calls, (Calls{{"g|count", Int(5)}, {"g|other", Int(1)}}));
        QVERIFY(!wnd->Tree(0)->FindGroup("g")->IsBold());
    }

    void keysMoveOpenCommitAndMoveOn()
    {
        list->SelectRow(Row("g|count"));
        Key(list, Qt::Key_Down);
        QCOMPARE(list->SelectedRow(), Row("g|other"));
        Key(list, Qt::Key_Up);
        QCOMPARE(list->SelectedRow(), Row("g|count"));

        // Enter opens the row's editor; Tab writes it and opens the next row's.
        Key(list, Qt::Key_Return);
        CVarSpinEdit* spin = Spin();
        QVERIFY(spin->isVisible() && spin->GetEdit()->hasFocus());
        spin->GetEdit()->selectAll();
        QTest::keyClicks(spin->GetEdit(), "8");
        Key(spin->GetEdit(), Qt::Key_Tab);
        QCOMPARE(list->SelectedRow(), Row("g|other"));
        QVERIFY(spin->isVisible() && spin->GetEdit()->hasFocus());
        spin->GetEdit()->selectAll();
        QTest::keyClicks(spin->GetEdit(), "2");
        Key(spin->GetEdit(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(list->SelectedRow(), Row("g|count"));
        QCOMPARE(client.calls, (Calls{{"g|count", Int(8)}, {"g|other", Int(2)}}));
        Key(spin->GetEdit(), Qt::Key_Escape);

        // A refused value keeps Tab where it is; F2 opens as Enter does.
        list->SelectRow(Row("g|ratio"));
        Key(list, Qt::Key_F2);
        auto* real = dynamic_cast<CVarSpinEdit*>(list->EditorForKind(VARKIND_DOUBLE));
        QVERIFY(real->isVisible());
        real->GetEdit()->selectAll();
        QTest::keyClicks(real->GetEdit(), "1.5");
        Key(real->GetEdit(), Qt::Key_Tab);
        QCOMPARE(beeps, 1);
        QCOMPARE(list->SelectedRow(), Row("g|ratio"));
        QVERIFY(real->isVisible() && real->GetEdit()->hasFocus());
        QCOMPARE(client.calls.size(), size_t(2));
    }

    void rowTooltipTellsEverything()
    {
        list->header()->resizeSection(2, 20);  // the description is cut on screen
        const QRect cell = list->visualRect(list->model()->index(Row("g|ratio"), 2));
        QHelpEvent help(QEvent::ToolTip, cell.center(), list->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(list->viewport(), &help);
        const QString tip = QToolTip::text();
        for (const char* part : {"g|ratio", "a double", "Range: 0 to 1, step 0.1", "Default: 0.350000"})
            QVERIFY2(tip.contains(part), qPrintable(tip));
    }

    void filterShowsMatchesOfTheWholeTab()
    {
        const auto names = [this] {
            QStringList n;
            for (int r = 0; r < list->RowCount(); ++r) n << list->topLevelItem(r)->text(0);
            return n;
        };
        const QStringList group = names();
        CVarTreeView* tree = wnd->Tree(0);
        list->setFocus();
        Key(list, Qt::Key_F, Qt::ControlModifier);
        CFilterLine* filter = wnd->FilterLine();
        QVERIFY(filter->hasFocus());
        QCOMPARE(filter->placeholderText(), QString("filter"));

        // Names and descriptions, any case, with the group path in sight.
        QTest::keyClicks(filter, "InTeGeR");
        QCOMPARE(names(), (QStringList{"g|count", "g|other"}));
        QTest::keyClick(filter, Qt::Key_Backspace);
        filter->selectAll();
        QTest::keyClicks(filter, "far");
        QCOMPARE(names(), QStringList{"h|deep|far"});
        QVERIFY(tree->FindGroup("h|deep")->IsMatch() && tree->FindGroup("h")->IsMatch());
        QVERIFY(!tree->FindGroup("g")->IsMatch());
        QTest::keyClicks(filter, "z");
        QCOMPARE(list->RowCount(), 0);
        QVERIFY(!tree->FindGroup("h")->IsMatch());

        // Escape empties the line and brings the group back as it was.
        QTest::keyClick(filter, Qt::Key_Escape);
        QVERIFY(filter->text().isEmpty());
        QCOMPARE(names(), group);
        QCOMPARE(list->SortState(), 1);

        // A group picked while filtering ends the filter.
        QTest::keyClicks(filter, "far");
        tree->setCurrentItem(tree->FindGroup("h|deep"));
        QVERIFY(filter->text().isEmpty());
        QCOMPARE(names(), QStringList{"far"});
        QVERIFY(!tree->FindGroup("h")->IsMatch());
    }

    void eachTabOpensOnTheGroupItWasLeftOn()
    {
        const auto open = [this] {
            auto w = std::make_unique<CMainWnd>(nullptr, QRect(0, 0, 500, 300), storage->p,
                                                storage->p->GetListsInUse(), &storage->p->GetGUIData(), nullptr);
            CVarGroupItem* group = w->Tree(0)->SelectedGroup();
            return std::make_pair(group ? group->Label() : std::string(), w->List(0)->RowCount());
        };
        RegKey key;
        QCOMPARE(key.Create(HKEY_CURRENT_USER, CGUIData::KeyPath()), ERROR_SUCCESS);
        key.DeleteValue(kLastGroupsValue);  // what the tests before left
        CVarTreeView* tree = wnd->Tree(0);
        tree->FindGroup("h")->setExpanded(true);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(tree->FindGroup("h|deep")).center());
        // Kept when the window closes, as the splitter is.
        QCOMPARE(open(), std::make_pair(std::string("g"), 4));
        delete std::exchange(wnd, nullptr);
        QCOMPARE(open(), std::make_pair(std::string("deep"), 1));

        // The layout record keeps its 20 bytes.
        std::vector<uint8_t> record;
        QCOMPARE(key.QueryBinary(CGUIData::kValueName, record), ERROR_SUCCESS);
        QCOMPARE(record.size(), size_t(20));

        // A group that is gone, a damaged line, a value too large to be
        // ours: the first group that holds variables.
        const std::string id = GuidToString(kListA);
        for (const std::string& stored : {id + " h|gone\n", "{oops} h\n" + id + "h|deep\n",
                                          id + " h|deep\n" + std::string(70000, 'x')}) {
            key.SetString(kLastGroupsValue, stored);
            QCOMPARE(open(), std::make_pair(std::string("g"), 4));
        }
    }
};

QTEST_MAIN(GesturesTest)
#include "GesturesTest.moc"
